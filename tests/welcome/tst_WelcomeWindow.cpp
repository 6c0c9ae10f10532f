// The welcome window's template previews on a screen scaled by two: drawn at that scale from the
// templates, not enlarged from smaller pictures.
#include "AnimationModelClasses.h"
#include "TSWelcomeWindow.h"
#include "TemplateLibrary.h"
#include "TemplateStage.h"
#include "TestMain.h"

#include <QToolButton>
#include <QWindow>
#include <QtTest>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

} // namespace

class TestWelcomeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void previewsAreDrawnAtTheScreenScale();
};

void TestWelcomeWindow::initTestCase()
{
    // As the editor sets it: icons pick the picture that suits the screen's pixel ratio.
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(kShipped + "/animations");
}

void TestWelcomeWindow::previewsAreDrawnAtTheScreenScale()
{
    TSWelcomeWindow welcome(kShipped + "/projects/");
    welcome.show();
    QVERIFY(QTest::qWaitForWindowExposed(&welcome));
    QCOMPARE(welcome.devicePixelRatioF(), 2.0);
    for (const QString name : {"Biped", "Quadruped", "Tentacle"}) {
        auto* card = welcome.findChild<QToolButton*>("template_" + name);
        QVERIFY(card);
        const QPixmap shown = card->icon().pixmap(welcome.windowHandle(), card->iconSize());
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.size(), card->iconSize() * 2);
        const QImage picture = shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(picture, TemplateStage::preview(name, card->iconSize(), 2.0, Qt::transparent));
        // A picture drawn at the logical size and enlarged is another, blurrier one.
        const QImage enlarged = TemplateStage::preview(name, card->iconSize(), 1.0, Qt::transparent)
                                    .scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(picture != enlarged.convertToFormat(picture.format()));
    }
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    if (!out.isEmpty()) {
        welcome.grab().save(out + "/welcome-scale2.png");
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestWelcomeWindow)
#include "tst_WelcomeWindow.moc"
