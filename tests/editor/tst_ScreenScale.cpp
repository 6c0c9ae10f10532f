// The editor on screens of different density. CTest runs this program at a logical DPI of 96, at
// a logical DPI of 192 and at a device pixel ratio of 2: in device pixels the add-node button,
// the selection handles and the timeline's marks are twice as large on either dense screen.
#include "AnimationEditorPanel.h"
#include "ItemData.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QtTest>

namespace {

/// Device pixels per pixel of a 96 DPI screen without scaling, as the environment asks for.
double requestedScale()
{
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    return (factor.isEmpty() ? 1.0 : factor.toDouble()) * (dpi > 0 ? dpi / 96.0 : 1.0);
}

/// The bounding box of the pixels that differ between two grabs of the same widget.
QRect changedPixels(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

/// The length of the run of pixels of the given colours through at, along step.
int runThrough(const QImage& image, QPoint at, QPoint step, const QList<QColor>& colours)
{
    const auto inside = [&](const QPoint& p) {
        return image.rect().contains(p) && colours.contains(image.pixelColor(p));
    };
    if (!inside(at)) {
        return 0;
    }
    int length = 1;
    for (QPoint p = at + step; inside(p); p += step) {
        ++length;
    }
    for (QPoint p = at - step; inside(p); p -= step) {
        ++length;
    }
    return length;
}

} // namespace

class TestScreenScale : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { closeWindow(); }
    void scaleFollowsTheScreen();
    void addNodeButtonKeepsItsScreenSize();
    void handlesKeepTheirScreenSize();
    void timelineMarksKeepTheirScreenSize();
    void drawnIconsAreSharp();
    void panelsKeepTheirProportions();

private:
    /// The shipped biped in animation mode, the view zoomed to 4 x the screen scale (so the
    /// character keeps its proportions to the parts drawn over it), the forearm picked in the
    /// outliner and centred.
    void openBipedAndPickForearm();
    /// The window's pixels per pixel of a plain 96 DPI screen: the screen scale the code applies
    /// times the device pixel ratio Qt applies.
    double windowScale() const { return ScreenScale::of(m_window) * m_window->devicePixelRatioF(); }
    QImage grab(QWidget* widget) const;
};

void TestScreenScale::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    setUpApplication();
}

void TestScreenScale::init()
{
    openWindow();
    m_window->resize(QSize(1200, 760) * ScreenScale::of(m_window));
}

void TestScreenScale::openBipedAndPickForearm()
{
    openTemplate();
    TSGraphicsView* view = m_window->graphicsView();
    view->setZoom(static_cast<float>(4 * ScreenScale::of(view)));
    // In animation mode a picked joint shows its handles.
    clickOverlay("Animation mode");
    QVERIFY(overlay("Animation mode")->isChecked());
    selectNode("forearm_L");
    QVERIFY(!m_window->manipulator()->isTargetLocked());
    view->centerOn(m_window->skeleton()->nodeByName("forearm_L")->joint->sceneBoundingRect().center());
}

QImage TestScreenScale::grab(QWidget* widget) const
{
    // Set BONESTAGE_SCREENSHOTS to a folder to keep a picture of the window on each screen.
    const QString folder = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    if (!folder.isEmpty()) {
        const QString name = QStringLiteral("editor-dpi%1-ratio%2.png")
                                 .arg(m_window->logicalDpiX())
                                 .arg(m_window->devicePixelRatioF());
        m_window->grab().save(QDir(folder).filePath(name));
    }
    return widget->grab().toImage();
}

void TestScreenScale::scaleFollowsTheScreen()
{
    // A denser screen is met either by the code's screen scale (logical DPI / 96) or by Qt's
    // device pixel ratio, never by both at once.
    const double dpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    if (dpi > 0) {
        QCOMPARE(ScreenScale::of(m_window), dpi / 96.0);
        QCOMPARE(ScreenScale::of(nullptr), dpi / 96.0);
    }
    QVERIFY2(qFuzzyCompare(windowScale(), requestedScale()), qPrintable(QString::number(windowScale())));
}

void TestScreenScale::addNodeButtonKeepsItsScreenSize()
{
    openBipedAndPickForearm();
    TSGraphicsView* view = m_window->graphicsView();
    QGraphicsItem* button = nullptr;
    for (QGraphicsItem* item : m_window->scene()->items()) {
        if (item->isVisible() && item->data(ItemData::IsIndicator).toBool()) {
            button = item;
        }
    }
    QVERIFY(button);
    // Hovering lights the button's ring and cross: what changes is the button as painted.
    const QImage resting = grab(view->viewport());
    test::moveTo(view, button->sceneBoundingRect().center(), Qt::NoModifier, Qt::NoButton);
    const QImage lit = grab(view->viewport());
    test::moveTo(view, button->sceneBoundingRect().center() + QPointF(200, 200), Qt::NoModifier,
                 Qt::NoButton);
    QCOMPARE(grab(view->viewport()), resting);
    // 20 pixels across plus its ring's pen (a twentieth of that) at 96 DPI.
    const QRect painted = changedPixels(resting, lit);
    const double expected = 21 * windowScale();
    QVERIFY2(std::abs(painted.width() - expected) <= 1.5 && std::abs(painted.height() - expected) <= 1.5,
             qPrintable(QStringLiteral("%1 x %2 device pixels, %3 expected")
                            .arg(painted.width())
                            .arg(painted.height())
                            .arg(expected)));
}

void TestScreenScale::handlesKeepTheirScreenSize()
{
    openBipedAndPickForearm();
    TSGraphicsView* view = m_window->graphicsView();
    const ObjectManipulator* manipulator = m_window->manipulator();
    const QImage shot = grab(view->viewport());
    const double ratio = shot.devicePixelRatio();
    const QList<QColor> square = {QColor(0x20, 0x20, 0x20), QColor(0x5b, 0xd1, 0xf3)};
    // Each corner square: 7 pixels and its one-pixel outline at 96 DPI.
    const double expected = 7 * windowScale() + ratio;
    for (int i = 0; i < 4; ++i) {
        const QPoint corner = view->mapFromScene(manipulator->polygon().at(i)) * ratio;
        for (const QPoint& step : {QPoint(1, 0), QPoint(0, 1)}) {
            const int run = runThrough(shot, corner, step, square);
            QVERIFY2(std::abs(run - expected) <= 1.5,
                     qPrintable(QStringLiteral("corner %1: %2 device pixels, %3 expected")
                                    .arg(i)
                                    .arg(run)
                                    .arg(expected)));
        }
    }
    // The pointer over a corner turns into our 16-pixel double arrow, with Ctrl held into our
    // turning arrow (a mirrored one at this corner).
    for (const Qt::KeyboardModifier modifier : {Qt::NoModifier, Qt::ControlModifier}) {
        if (modifier != Qt::NoModifier) {
            QTest::keyPress(view, Qt::Key_Control);
        }
        test::moveTo(view, manipulator->polygon().at(0), modifier, Qt::NoButton);
        const QCursor cursor = view->viewport()->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.pixmap().size(), QSize(16, 16) * windowScale());
        QCOMPARE(cursor.pixmap().devicePixelRatio(), ratio);
    }
    QCOMPARE(manipulator->operation(), int(ObjectManipulator::Rotate));
    QTest::keyRelease(view, Qt::Key_Control);
}

void TestScreenScale::timelineMarksKeepTheirScreenSize()
{
    openBipedAndPickForearm();
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    const int key = timeline->keyFlags().indexOf(1);
    QVERIFY(key >= 0);
    const QImage shot = grab(timeline);
    const double ratio = shot.devicePixelRatio();
    // The key's mark fills the lower half of its frame's cell less 3 pixels, outlined in the key
    // colour with a one-pixel pen; on a 96 DPI screen the timeline is 29 pixels high.
    const double cell = static_cast<double>(timeline->width()) / timeline->frameCount();
    const int x = qRound((key + 0.5) * cell * ratio);
    QList<int> outline;
    for (int y = 0; y < shot.height(); ++y) {
        if (shot.pixelColor(x, y) == QColor(QStringLiteral("#00f07f"))) {
            outline << y;
        }
    }
    QVERIFY(!outline.isEmpty());
    const int height = outline.last() - outline.first() + 1;
    const double expected = (29 * 0.5 - 3) * windowScale() + ratio;
    QVERIFY2(std::abs(height - expected) <= 1.5,
             qPrintable(QStringLiteral("%1 device pixels, %2 expected").arg(height).arg(expected)));
}

void TestScreenScale::drawnIconsAreSharp()
{
    openBipedAndPickForearm();
    // The bone colours' dots are drawn by the program: at the window's pixel density, not scaled up.
    auto* colours = m_window->findChild<QComboBox*>(QStringLiteral("boneColorComboBox"));
    QVERIFY(colours && colours->isVisible());
    QVERIFY(colours->count() > 1);
    const double ratio = m_window->devicePixelRatioF();
    for (int i = 0; i < colours->count(); ++i) {
        const QPixmap icon = colours->itemIcon(i).pixmap(m_window->windowHandle(), colours->iconSize());
        QCOMPARE(icon.devicePixelRatio(), ratio);
        QCOMPARE(icon.size(), colours->iconSize() * ratio);
        // The dot is 8 pixels across, in device pixels 8 x the ratio.
        const QImage image = icon.toImage();
        QRect dot;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 127) {
                    dot |= QRect(x, y, 1, 1);
                }
            }
        }
        QVERIFY2(std::abs(dot.width() - 8 * ratio) <= 1, qPrintable(QString::number(dot.width())));
    }
}

void TestScreenScale::panelsKeepTheirProportions()
{
    openBipedAndPickForearm();
    const double s = ScreenScale::of(m_window);
    // Text grows with the logical DPI; the fields and buttons holding it grow along.
    for (const char* name : {"framesNumberLineEdit", "speedEdit"}) {
        auto* edit = m_window->findChild<QLineEdit*>(QLatin1String(name));
        QVERIFY2(edit && edit->isVisible(), name);
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
        const int room = edit->width() - 2 * frame - 4;
        QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) <= room, name);
    }
    auto* import = m_window->findChild<QToolButton*>(QStringLiteral("importAssetsButton"));
    QVERIFY(import && import->isVisible());
    QVERIFY2(import->width() >= import->sizeHint().width(), qPrintable(QString::number(import->width())));
    // Icons keep their size next to the text: 18 pixels at 96 DPI.
    for (const char* name : {"addButton", "playButton", "keyButton", "addNodeButton", "removeNodeButton"}) {
        auto* button = m_window->findChild<QToolButton*>(QLatin1String(name));
        QVERIFY2(button && button->isVisible(), name);
        QCOMPARE(button->iconSize(), QSize(18, 18) * s);
    }
    // The canvas's overlay buttons: 28 pixels square at 96 DPI.
    for (const TSGraphicsButton* button : m_window->graphicsView()->buttons()) {
        QCOMPARE(button->rect().size(), QSize(28, 28) * s);
    }
    // The asset group chooser beside its three buttons has room for the shipped group's name.
    auto* groups = m_window->findChild<QComboBox*>(QStringLiteral("assetsGroupComboBox"));
    QVERIFY(groups && groups->isVisible());
    QStyleOptionComboBox box;
    box.initFrom(groups);
    const int room =
        groups->style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, groups).width();
    const int needed = groups->fontMetrics().horizontalAdvance(QStringLiteral("Characters"));
    QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 pixels for %2").arg(room).arg(needed)));
    // The outliner opens 220 pixels wide at 96 DPI, so its rows show their names beside the
    // indentation and toggles that follow the screen scale.
    QVERIFY2(m_window->outliner()->width() >= qRound(220 * s),
             qPrintable(QString::number(m_window->outliner()->width())));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestScreenScale)
#include "tst_ScreenScale.moc"
