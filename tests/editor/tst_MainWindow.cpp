// The main window driven as a user would: documents, questions, saving, recent files, errors.
#include "AnimationCanvas.h"
#include "AnimationEditorPanel.h"
#include "AnimationExporter.h"
#include "ExportDialog.h"
#include "FrameRenderer.h"
#include "HistoryManager.h"
#include "TSFileDialogs.h"
#include "TSMessageBox.h"
#include "TSProgressWindow.h"
#include "TSProjectStorage.h"
#include "TSWelcomeWindow.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtEndian>

namespace {

using test::Boxes;
using test::Choosers;
using test::keyPoints;
using test::kShipped;

} // namespace

class TestMainWindow : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void newDocumentHasOneRootJoint();
    void templateSaveAsksForANameThenSavesInPlace();
    void changesQuestionDecidesTheLoad_data();
    void changesQuestionDecidesTheLoad();
    void closingAsksAndCancelKeepsTheWindow();
    void openErrorsShowBoxes();
    void failedSaveKeepsTitleRecentFilesAndOldFile();
    void recentFilesOrderAndPruning();
    void deleteRulesAndNodeRemoval();
    void copyPasteImages();
    void undoShortcutOnPanels();
    void welcomeWindowRequests();
    void templatesOpenFramedAndFitted();
    void exportWritesEveryAnimation();
    void exportMakesAnimatedImages();
    void exportKeepsTheEditorAsItWas();
    void exportCancelledOrRefused();
    void screenshots();

private:
    /// Exports into directory through the menu's chooser and the dialog at 15 fps, with the format
    /// formatSteps entries down the dialog's list; waits for the frames of every animation.
    void exportThroughDialog(Choosers& choosers, const QString& directory, int formatSteps = 0);
};

void TestMainWindow::newDocumentHasOneRootJoint()
{
    m_window->newDocument();
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->documentTitle(), QStringLiteral("Untitled"));
    QCOMPARE(m_window->skeleton()->nodes().size(), size_t(1));
    QVERIFY(m_window->document()->isTemplate());
    QVERIFY(!m_window->document()->isModified());
    QCOMPARE(m_window->animationEditor()->framesEdit()->text(), QStringLiteral("20"));
    QCOMPARE(m_window->animationCanvas()->canvasRect(), DocumentController::kDefaultCanvasRect);
    QCOMPARE(m_window->outliner()->tree()->topLevelItemCount(), 1);
}

void TestMainWindow::templateSaveAsksForANameThenSavesInPlace()
{
    Choosers choosers;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    QCOMPARE(m_window->documentTitle(), QStringLiteral("Biped Character"));
    QCOMPARE(m_window->animationEditor()->animationComboBox()->count(), 5);
    Skeleton* skeleton = m_window->skeleton();
    const size_t nodes = skeleton->nodes().size();
    const size_t images = skeleton->images().size();
    const QString target = m_dir.filePath("my biped.bsdoc");
    choosers.answers << target;
    // With no folder remembered and no Documents folder at home, the chooser starts in the home
    // folder, not at a file named "Documents" there.
    const QByteArray home = qgetenv("HOME");
    const QString bareHome = m_dir.filePath("home");
    QVERIFY(QDir().mkpath(bareHome));
    qputenv("HOME", QFile::encodeName(bareHome));
    QSettings().remove("Paths/OpenSavePath");
    m_window->save();
    qputenv("HOME", home);
    QCOMPARE(choosers.asked.size(), 1);
    QCOMPARE(choosers.asked.first().directory, bareHome);
    QCOMPARE(choosers.asked.first().kind, TSFileDialogs::Kind::Save);
    QCOMPARE(choosers.asked.first().caption, QStringLiteral("Save Bonestage Document"));
    QCOMPARE(choosers.asked.first().filter, QStringLiteral("Bonestage Document (*.bsdoc)"));
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(m_window->documentTitle(), QStringLiteral("my biped"));
    QVERIFY(!m_window->document()->isTemplate());

    // Now Save writes edits in place without asking: the walk chosen, the head keyed, a node added.
    m_window->show();
    QComboBox* chooser = m_window->animationEditor()->animationComboBox();
    QMetaObject::invokeMethod(chooser, "activated", Q_ARG(int, chooser->findText("Walk")));
    QCOMPARE(m_window->document()->currentAnimationName(), QStringLiteral("Walk"));
    skeleton->nodeByName("head")->animation->channel(AnimatedObject::Rotation).insertKey(0.75f, 0.5f, true);
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "head"));
    QTest::mouseClick(m_window->findChild<QToolButton*>("addNodeButton"), Qt::LeftButton);
    QVERIFY(m_window->document()->isModified());
    m_window->save();
    QCOMPARE(choosers.asked.size(), 1);
    QVERIFY(!m_window->document()->isModified());
    QCOMPARE(m_window->recentFiles(), QStringList{QDir::toNativeSeparators(target)});

    // Opened again in a new window, everything is there.
    closeWindow();
    m_window = new TSMainWindow();
    m_window->openFile(target);
    skeleton = m_window->skeleton();
    QCOMPARE(m_window->documentTitle(), QStringLiteral("my biped"));
    QCOMPARE(skeleton->nodes().size(), nodes + 1);
    QCOMPARE(skeleton->images().size(), images);
    const Skeleton::Node* added = skeleton->nodeByName("New node 1");
    QVERIFY(added);
    QCOMPARE(added->parent, QStringLiteral("head"));
    QCOMPARE(m_window->document()->currentAnimationName(), QStringLiteral("Walk"));
    const TSAnimationCurve& rotation = skeleton->nodeByName("head")->animation->channel(AnimatedObject::Rotation);
    QVERIFY(std::abs(rotation.evaluate(0.5f) - 0.75f) < 1e-3f);
    QCOMPARE(m_window->animationEditor()->animationComboBox()->count(), 5);
}

void TestMainWindow::changesQuestionDecidesTheLoad_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("loads");
    QTest::newRow("Cancel keeps the modified document") << int(QMessageBox::Cancel) << false;
    QTest::newRow("Yes with a cancelled save keeps it too") << int(QMessageBox::Yes) << false;
    QTest::newRow("No discards the changes") << int(QMessageBox::No) << true;
}

void TestMainWindow::changesQuestionDecidesTheLoad()
{
    QFETCH(int, answer);
    QFETCH(bool, loads);
    Boxes boxes;
    Choosers choosers; // which cancel the save
    m_window->newDocument();
    m_window->document()->setModified(true);
    boxes.answers << QMessageBox::StandardButton(answer);
    QCOMPARE(m_window->loadDocument(kShipped + "/projects/Tentacle.bsdoc", true, "Tentacle"), loads);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Project has changes"));
    QCOMPARE(boxes.shown.first().text, QStringLiteral("Do you want to save your changes to file ?"));
    QCOMPARE(choosers.asked.size(), answer == QMessageBox::Yes ? 1 : 0);
    QCOMPARE(m_window->documentTitle(), loads ? QStringLiteral("Tentacle") : QStringLiteral("Untitled"));
    QCOMPARE(m_window->skeleton()->nodes().size(), size_t(loads ? 5 : 1));
    QCOMPARE(m_window->document()->isModified(), !loads);
}

void TestMainWindow::closingAsksAndCancelKeepsTheWindow()
{
    Boxes boxes;
    Choosers choosers;
    m_window->newDocument();
    QVERIFY(m_window->confirmClose());
    QCOMPARE(boxes.shown.size(), 0);
    QSettings().remove("isMainWindowMaximized");
    m_window->document()->setModified(true);
    boxes.answers << QMessageBox::Cancel;
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
    QVERIFY(!QSettings().contains("isMainWindowMaximized"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("Do you want to save your changes to file before exit ?"));
    // Yes with a cancelled save keeps the window open too.
    boxes.answers << QMessageBox::Yes;
    QVERIFY(!m_window->confirmClose());
    // Yes with a save that happens closes.
    choosers.answers << m_dir.filePath("closing.bsdoc");
    boxes.answers << QMessageBox::Yes;
    QVERIFY(m_window->confirmClose());
    QVERIFY(QFileInfo::exists(m_dir.filePath("closing.bsdoc")));
    // Closing remembers that the window was maximised.
    m_window->showMaximized();
    m_window->document()->setModified(true);
    boxes.answers << QMessageBox::No;
    QVERIFY(m_window->close());
    QVERIFY(QSettings().contains("isMainWindowMaximized"));
    QCOMPARE(QSettings().value("isMainWindowMaximized").toBool(), true);
}

void TestMainWindow::openErrorsShowBoxes()
{
    Boxes boxes;
    m_window->openFile(m_dir.filePath("missing.bsdoc"));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Error on open"));
    QCOMPARE(boxes.shown.first().text, QStringLiteral("File does not exist. "));
    const QString broken = m_dir.filePath("broken.bsdoc");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a zip archive at all");
    file.close();
    m_window->openFile(broken);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Error on open"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("Project file broken. "));
    QVERIFY(m_window->skeleton()->nodes().empty());
    QVERIFY(m_window->recentFiles().isEmpty());
}

void TestMainWindow::failedSaveKeepsTitleRecentFilesAndOldFile()
{
    Boxes boxes;
    Choosers choosers;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Tentacle.bsdoc", true, "Tentacle"));
    m_window->show();
    const QString path = m_dir.filePath("tentacle.bsdoc");
    choosers.answers << path;
    m_window->save();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();
    QVERIFY(!before.isEmpty());

    QVERIFY(test::clickRow(m_window->outliner()->tree(), "base"));
    QTest::mouseClick(m_window->findChild<QToolButton*>("addNodeButton"), Qt::LeftButton);
    QVERIFY(m_window->document()->isModified());
    // A folder where the save writes its temporary archive makes the next save fail.
    const QString blocker = TSProjectStorage(TSModelController::instance()).temporaryArchivePath();
    QVERIFY(QDir().mkpath(blocker));
    m_window->save();
    QVERIFY(QDir().rmdir(blocker));
    QCOMPARE(choosers.asked.size(), 1);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Error on save"));
    QCOMPARE(boxes.shown.first().text,
             QStringLiteral("Failed to compress working files. Failed to create archive. "));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll() == before);
    QCOMPARE(m_window->documentTitle(), QStringLiteral("tentacle"));
    QCOMPARE(m_window->recentFiles(), QStringList{QDir::toNativeSeparators(path)});
    QVERIFY(m_window->document()->isModified());
}

void TestMainWindow::recentFilesOrderAndPruning()
{
    QStringList paths;
    for (int i = 0; i < 11; ++i) {
        paths << m_dir.filePath(QStringLiteral("doc%1.bsdoc").arg(i));
        QFile file(paths.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    for (const QString& path : paths) {
        m_window->addRecentFile(path);
    }
    QCOMPARE(m_window->recentFiles().size(), 10);
    QCOMPARE(m_window->recentFiles().first(), QDir::toNativeSeparators(paths.last()));
    QVERIFY(!m_window->recentFiles().contains(QDir::toNativeSeparators(paths.first())));
    m_window->addRecentFile(paths.at(5));
    QCOMPARE(m_window->recentFiles().first(), QDir::toNativeSeparators(paths.at(5)));
    QCOMPARE(m_window->recentFiles().size(), 10);
    QVERIFY(QFile::remove(paths.at(7)));
    m_window->rebuildRecentFilesMenu();
    QCOMPARE(m_window->recentFiles().size(), 9);
    QStringList texts;
    for (QAction* action : m_window->recentFilesMenu()->actions()) {
        texts << action->text();
    }
    QCOMPARE(texts.last(), QStringLiteral("Clear Recent File List"));
    m_window->recentFilesMenu()->actions().last()->trigger();
    QVERIFY(m_window->recentFiles().isEmpty());
    QList<QAction*> actions = m_window->recentFilesMenu()->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("No Recent Files"));
    QVERIFY(!actions.at(0)->isEnabled());
    QVERIFY(actions.at(1)->isSeparator());
}

void TestMainWindow::deleteRulesAndNodeRemoval()
{
    Boxes boxes;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    m_window->show();
    QTreeWidget* tree = m_window->outliner()->tree();
    auto* remove = m_window->findChild<QToolButton*>("removeNodeButton");
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(boxes.shown.last().text, QStringLiteral("No Node selected"));
    QVERIFY(test::clickRow(tree, "pelvis"));
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(boxes.shown.last().text, QStringLiteral("Cannot Delete root Node"));
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Error on delete"));
    const size_t before = m_window->skeleton()->nodes().size();
    QVERIFY(test::clickRow(tree, "upper_arm_L"));
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(m_window->skeleton()->nodes().size(), before - 3);
    QVERIFY(!m_window->skeleton()->nodeByName("hand_L"));
    QVERIFY(tree->findItems("upper_arm_L", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QVERIFY(!imageOf("forearm_L"));
    QVERIFY(m_window->document()->isModified());
}

void TestMainWindow::copyPasteImages()
{
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Tentacle.bsdoc", true, "Tentacle"));
    QVERIFY(!m_window->action("pasteAction")->isEnabled());
    Skeleton* skeleton = m_window->skeleton();
    const Skeleton::Asset* tip = imageOf("tip");
    QVERIFY(tip);
    m_window->manipulator()->setTargets({tip->placeholder});
    m_window->action("copyAction")->trigger();
    QVERIFY(m_window->hasClipboard());
    QVERIFY(m_window->action("pasteAction")->isEnabled());
    m_window->manipulator()->setTargets({});
    m_window->show();
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "base"));
    const size_t images = skeleton->images().size();
    m_window->action("pasteAction")->trigger();
    QCOMPARE(skeleton->images().size(), images + 1);
    QCOMPARE(skeleton->images().back()->nodeName, QStringLiteral("base"));
    QVERIFY(m_window->document()->isModified());
}

void TestMainWindow::undoShortcutOnPanels()
{
    m_window->newDocument();
    Skeleton* skeleton = m_window->skeleton();
    Skeleton::Node* root = skeleton->nodes().front().get();
    m_window->manipulator()->setAnimationMode(true);
    skeleton->setAnimationMode(true);
    root->joint->setTransform(QTransform().rotate(-30));
    QList<AnimatedObject::AnimatedProperty> properties = {AnimatedObject::Rotation};
    skeleton->onItemSetKey(root->joint, properties);
    QVERIFY(root->animation);
    QCOMPARE(root->animation->channel(AnimatedObject::Rotation).keyCount(), 1);
    QCOMPARE(m_window->history()->count(), 1);
    QVERIFY(m_window->document()->isModified());
    // Ctrl+Z while a field of the animation editor has focus undoes the key.
    QWidget* field = m_window->animationEditor()->speedEdit();
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(root->animation->channel(AnimatedObject::Rotation).keyCount(), 0);
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(root->animation->channel(AnimatedObject::Rotation).keyCount(), 1);
}

void TestMainWindow::welcomeWindowRequests()
{
    m_window->showWelcomeWindow(false);
    TSWelcomeWindow* welcome = m_window->welcomeWindow();
    QVERIFY(welcome);
    QVERIFY(welcome->isVisible());
    auto* card = welcome->findChild<QToolButton*>("template_Quadruped");
    QVERIFY(card);
    QTest::mouseClick(card, Qt::LeftButton);
    QCOMPARE(m_window->documentTitle(), QStringLiteral("Quadruped"));
    QVERIFY(m_window->isVisible());
    QTRY_VERIFY(!m_window->welcomeWindow());
}

void TestMainWindow::templatesOpenFramedAndFitted()
{
    // The first template opens into a hidden editor that comes up maximised, the others into the
    // shown one.
    QSettings().setValue("isMainWindowMaximized", true);
    const auto restore = qScopeGuard([] { QSettings().remove("isMainWindowMaximized"); });
    for (const char* name : {"Biped", "Quadruped", "Tentacle"}) {
        m_window->showWelcomeWindow(false);
        auto* card = m_window->welcomeWindow()->findChild<QToolButton*>(QStringLiteral("template_") + name);
        QVERIFY(card);
        QTest::mouseClick(card, Qt::LeftButton);
        QTRY_VERIFY(!m_window->welcomeWindow());
        QVERIFY(QTest::qWaitForWindowExposed(m_window));

        // The frame holds the character in every pose of every animation, with a small margin.
        const QRectF frame = m_window->animationCanvas()->canvasRect();
        Skeleton* skeleton = m_window->skeleton();
        QRectF drawn;
        for (const DocumentController::Animation& animation : m_window->document()->animations()) {
            QVERIFY(m_window->document()->selectAnimation(animation.identifier));
            for (int i = 0; i <= 10; ++i) {
                skeleton->showMoment(skeleton->duration() * 100.0f * i);
                for (const auto& asset : skeleton->images()) {
                    const QRectF image = asset->item->sceneBoundingRect();
                    QVERIFY2(frame.contains(image), qPrintable(QStringLiteral("%1 %2 %3 at %4")
                                                                   .arg(name, animation.name, asset->nodeName)
                                                                   .arg(i)));
                    drawn |= image;
                }
            }
        }
        const double margin = 0.1 * std::max(drawn.width(), drawn.height());
        QVERIFY2(drawn.adjusted(-margin, -margin, margin, margin).contains(frame), name);
        QVERIFY2(frame.width() * frame.height() < 1.5 * drawn.width() * drawn.height(), name);

        // The view shows the whole frame, filling the viewport in one direction.
        const QRect shown = m_window->graphicsView()->mapFromScene(frame).boundingRect();
        const QRect viewport = m_window->graphicsView()->viewport()->rect();
        QVERIFY2(viewport.contains(shown), name);
        QVERIFY2(shown.width() > 0.75 * viewport.width() || shown.height() > 0.75 * viewport.height(), name);
    }
    // Once the user works in the view, a new window size leaves the zoom alone.
    TSGraphicsView* view = m_window->graphicsView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    const float zoom = view->zoomFactor();
    m_window->showNormal();
    m_window->resize(m_window->width() + 200, m_window->height() + 100);
    QTRY_VERIFY(view->viewport()->width() > 300);
    QCOMPARE(view->zoomFactor(), zoom);
}

void TestMainWindow::exportWritesEveryAnimation()
{
    Choosers choosers;
    Boxes boxes;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    m_window->show();
    const QString current = m_window->document()->currentAnimation();
    // Every track of the shipped animations ends with a key at the animation's length: Idle 2 s,
    // Jump 1.2 s, Run 0.6 s, Walk 1 s, Wave 1.6 s. Frames are posed every 1000 / 15 ms, summed
    // in single precision, up to the first one at or past the end. The sum lands on 600, 1000
    // and 1200 ms, but after 30 steps it is just below 2000 ms and after 24 just below 1600 ms,
    // so Idle and Wave take one frame more than 15 per second would.
    const QList<QPair<QString, int>> expectedFrames = {
        {"Idle", 31}, {"Jump", 18}, {"Run", 9}, {"Walk", 15}, {"Wave", 25}};
    QStringList names;
    for (const DocumentController::Animation& animation : m_window->document()->animations()) {
        names << animation.name;
    }
    QCOMPARE(names, (QStringList{"Idle", "Jump", "Run", "Walk", "Wave"}));

    const QString directory = m_dir.filePath("export here");
    exportThroughDialog(choosers, directory);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(choosers.asked.first().caption, QStringLiteral("Export Animation"));
    QCOMPARE(QSettings().value("Paths/ExportPath").toString(), directory);

    for (const auto& [name, count] : expectedFrames) {
        const QString folder = AnimationExporter::animationFolder(directory, "Biped Character", name);
        const QStringList frames = QDir(folder).entryList({"*.png"}, QDir::Files, QDir::Name);
        QVERIFY2(frames.size() == count,
                 qPrintable(QStringLiteral("%1: %2 frames").arg(name).arg(frames.size())));
        QCOMPARE(frames.first(), QStringLiteral("0000.png"));
        const QImage frame(folder + "/" + frames.at(frames.size() / 2));
        QCOMPARE(frame.size(), (m_window->animationCanvas()->canvasRect().size() * 0.3).toSize());
        // Transparent around the character, the character drawn in the middle.
        QCOMPARE(frame.pixelColor(0, 0).alpha(), 0);
        int opaque = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                opaque += frame.pixelColor(x, y).alpha() == 255 ? 1 : 0;
            }
        }
        QVERIFY2(opaque > 200, qPrintable(QString::number(opaque)));
    }
    // The editor is as it was.
    QCOMPARE(m_window->document()->currentAnimation(), current);
    QVERIFY(m_window->animationCanvas()->isVisible());
    QVERIFY(m_window->skeleton()->isSkeletonVisible());
    QVERIFY(boxes.shown.isEmpty());
    QVERIFY(m_window->findChildren<TSProgressWindow*>().isEmpty() ||
            !m_window->findChild<TSProgressWindow*>()->isVisible());
}

void TestMainWindow::exportMakesAnimatedImages()
{
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        QSKIP("ffmpeg is not installed");
    }
    Choosers choosers;
    Boxes boxes;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    m_window->show();
    // An animated PNG beside each animation's frames folder, one image frame per PNG frame.
    const QString directory = m_dir.filePath("animated export");
    exportThroughDialog(choosers, directory, 2);
    for (const auto& [name, count] : {std::pair{"Idle", 31}, {"Jump", 18}, {"Run", 9}, {"Walk", 15}, {"Wave", 25}}) {
        const QString folder = AnimationExporter::animationFolder(directory, "Biped Character", name);
        QTRY_VERIFY(QFileInfo::exists(folder + ".png"));
        const QByteArray png = test::fileBytes(folder + ".png");
        QVERIFY(png.startsWith("\x89PNG"));
        // The animation control chunk: its frame count, big-endian.
        const int control = png.indexOf("acTL");
        QVERIFY2(control > 0, name);
        QCOMPARE(qFromBigEndian<quint32>(png.constData() + control + 4), quint32(count));
        QCOMPARE(QDir(folder).entryList({"*.png"}, QDir::Files).size(), count);
    }
    QVERIFY(boxes.shown.isEmpty());

    // A converter without the WebP encoder: the user is told before anything is rendered.
    const QString bin = m_dir.filePath("bin without webp");
    QVERIFY(test::writeFile(bin + "/ffmpeg", "#!/bin/sh\necho ' V....D apng                 APNG image'\n"));
    QVERIFY(QFile::setPermissions(bin + "/ffmpeg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    const QString refused = m_dir.filePath("refused export");
    QVERIFY(QDir().mkpath(refused));
    choosers.answers << refused;
    m_window->exportAnimation();
    auto* dialog = m_window->findChild<ExportDialog*>();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    auto* formats = dialog->findChild<QComboBox*>("formatCombo");
    formats->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(formats, Qt::Key_Down);
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>("exportButton"), Qt::LeftButton);
    QTRY_COMPARE(boxes.shown.size(), 1);
    qputenv("PATH", path);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Export"));
    QVERIFY2(boxes.shown.first().text.contains("no \"libwebp_anim\" encoder"), qPrintable(boxes.shown.first().text));
    QVERIFY(QDir(refused).isEmpty());
}

void TestMainWindow::exportThroughDialog(Choosers& choosers, const QString& directory, int formatSteps)
{
    QVERIFY(QDir().mkpath(directory));
    choosers.answers << directory;
    m_window->exportAnimation();
    QVERIFY(choosers.answers.isEmpty());
    auto* dialog = m_window->findChild<ExportDialog*>();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    // The base size is the document's canvas frame at 0.3.
    QCOMPARE(dialog->findChild<QSpinBox*>("widthEdit")->value(),
             qRound(m_window->animationCanvas()->canvasRect().width() * 0.3));
    QTest::mouseClick(dialog->findChild<QRadioButton*>("fps15RadioButton"), Qt::LeftButton);
    auto* formats = dialog->findChild<QComboBox*>("formatCombo");
    formats->setFocus();
    for (int i = 0; i < formatSteps; ++i) {
        QTest::keyClick(formats, Qt::Key_Down);
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>("exportButton"), Qt::LeftButton);
    const int animations = m_window->document()->animations().size();
    QTRY_VERIFY(!m_window->frameRenderer()->isRendering() &&
                QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == animations);
}

void TestMainWindow::exportKeepsTheEditorAsItWas()
{
    Choosers choosers;
    Boxes boxes;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const QString before = m_dir.filePath("before the edit");
    exportThroughDialog(choosers, before);
    if (QTest::currentTestFailed()) {
        return;
    }

    // At frame 20 (1/3 s, which is frame 4 of the export), drag at the head's joint in
    // animation mode: a keyed turn of the head.
    auto* view = m_window->findChild<TSGraphicsView*>("graphicsView");
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    int x = 0;
    while (x < timeline->width() && timeline->frameAt(x) != 20) {
        ++x;
    }
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier, QPoint(x + 1, timeline->height() / 4));
    QCOMPARE(timeline->currentFrame(), 20);
    startRecording();
    Skeleton::Node* head = m_window->skeleton()->nodeByName("head");
    AnimatedObject* tracks = head->animation;
    // Where the joint and a point 50 px along the head are on screen.
    const auto headPose = [head] {
        const QTransform scene = head->joint->sceneTransform();
        return QLineF(scene.map(QPointF()), scene.map(QPointF(0, -50)));
    };
    const auto headKeys = [head] {
        QList<QList<QPointF>> keys;
        for (const AnimatedObject::AnimatedProperty channel : AnimatedObject::canonicalOrder()) {
            keys << keyPoints(head->animation->channel(channel));
        }
        return keys;
    };
    const QLineF unposed = headPose();
    const QList<QList<QPointF>> unkeyed = headKeys();
    const QPointF grab = unposed.p1();
    test::drag(view, grab, grab + QPointF(40, 0));
    const QLineF posed = headPose();
    QVERIFY(QLineF(posed.p2(), unposed.p2()).length() > 10);
    const QList<QList<QPointF>> keys = headKeys();
    QVERIFY(keys != unkeyed);
    const int commands = m_window->history()->count();
    QVERIFY(commands > 0);
    const int index = m_window->history()->index();
    const QList<QGraphicsItem*> targets = m_window->manipulator()->targets();
    QCOMPARE(targets, QList<QGraphicsItem*>{head->joint});
    const QString current = m_window->document()->currentAnimation();

    const QString after = m_dir.filePath("after the edit");
    exportThroughDialog(choosers, after);
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY(boxes.shown.isEmpty());

    // The editor is exactly as it was: animation, keys, time, selection and history.
    QCOMPARE(m_window->document()->currentAnimation(), current);
    QCOMPARE(headKeys(), keys);
    // The very same tracks, which the undo history points at.
    QCOMPARE(head->animation, tracks);
    QCOMPARE(timeline->currentFrame(), 20);
    QCOMPARE(headPose(), posed);
    QCOMPARE(m_window->manipulator()->targets(), targets);
    QCOMPARE(m_window->outliner()->tree()->selectedObjects(), {head->joint});
    QCOMPARE(m_window->history()->count(), commands);
    QCOMPARE(m_window->history()->index(), index);

    // The edited animation was exported with the edit, the others as they were.
    for (const DocumentController::Animation& animation : m_window->document()->animations()) {
        const QString unedited = AnimationExporter::animationFolder(before, m_window->document()->skeletonName(),
                                                                    animation.name);
        const QString edited = AnimationExporter::animationFolder(after, m_window->document()->skeletonName(),
                                                                  animation.name);
        const QStringList frames = QDir(unedited).entryList({"*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(QDir(edited).entryList({"*.png"}, QDir::Files, QDir::Name), frames);
        const bool differs = QImage(unedited + "/0004.png") != QImage(edited + "/0004.png");
        QVERIFY2(differs == (animation.identifier == current), qPrintable(animation.name));
    }

    // The history still works on the animation on screen.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_window->history()->index(), index - 1);
    QCOMPARE(headKeys(), unkeyed);
}

void TestMainWindow::exportCancelledOrRefused()
{
    Choosers choosers;
    Boxes boxes;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    // Nothing in this test renders a frame.
    AnimationExporter* exporter = m_window->exporter();
    QSignalSpy exported(exporter, &AnimationExporter::progress);
    QSignalSpy rendered(m_window->frameRenderer(), &FrameRenderer::exportProgress);
    QSettings().remove("Paths/ExportPath");
    // Cancelling the directory chooser asks nothing further.
    m_window->exportAnimation();
    QCOMPARE(choosers.asked.size(), 1);
    QVERIFY(!choosers.asked.first().directory.isEmpty());
    QVERIFY(!m_window->findChild<ExportDialog*>());
    // With no export directory, a size and rate from the dialog export nothing, not even into
    // folders named as if the directory were empty.
    m_window->doExport(QSize(100, 100), 30);
    QCoreApplication::processEvents();
    QVERIFY(boxes.shown.isEmpty());
    QVERIFY(exported.isEmpty());
    for (const DocumentController::Animation& animation : m_window->document()->animations()) {
        QVERIFY(!QFileInfo::exists(
            AnimationExporter::animationFolder(QString(), "Biped Character", animation.name)));
    }

    // An export directory that cannot be written says so, and the editor carries on.
    QFile file(m_dir.filePath("a file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QSettings().setValue("Paths/ExportPath", file.fileName());
    m_window->doExport(QSize(100, 100), 30);
    QTRY_COMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Export"));
    QCOMPARE(boxes.shown.first().text,
             "Cannot create the folder " +
                 AnimationExporter::animationFolder(file.fileName(), "Biped Character", "Idle") + ".");
    QVERIFY(exported.isEmpty());
    QVERIFY(m_window->animationCanvas()->isVisible());

    // An export of more frames than the cap is refused before anything is written: 99999
    // frames of the editor's 60 per second, exported at 200 per second, make 333330 frames.
    const QString directory = m_dir.filePath("long export");
    QVERIFY(QDir().mkpath(directory));
    QSettings().setValue("Paths/ExportPath", directory);
    QLineEdit* frames = m_window->animationEditor()->framesEdit();
    QTest::keyClick(frames, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(frames, "99999");
    QTest::keyClick(frames, Qt::Key_Return);
    QCOMPARE(frames->text(), QStringLiteral("99999"));
    QCOMPARE(m_window->skeleton()->frameCount(), 99999);
    // Should the export start anyway, it is cancelled at its first progress report.
    connect(exporter, &AnimationExporter::progress, exporter, &AnimationExporter::cancel);
    m_window->doExport(QSize(100, 100), 200);
    QTRY_COMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Export"));
    const QString text = boxes.shown.last().text;
    QVERIFY2(text.contains("216000") && text.contains(m_window->document()->currentAnimationName()),
             qPrintable(text));
    QVERIFY(QDir(directory).isEmpty());
    QVERIFY(m_window->animationCanvas()->isVisible());
    // The command line's export of the current animation is refused the same way.
    FrameRenderSettings settings;
    settings.folder = directory + "/current";
    settings.rect = m_window->animationCanvas()->canvasRect();
    settings.size = QSize(240, 240);
    settings.fps = 200;
    const AnimationExporter::Result current = exporter->exportCurrent(settings);
    QCOMPARE(current.refused, AnimationExporter::Refusal::TooManyFrames);
    QCOMPARE(current.error, text);
    QVERIFY(QDir(directory).isEmpty());
    QVERIFY(exported.isEmpty());
    QVERIFY(rendered.isEmpty());
}

void TestMainWindow::screenshots()
{
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    m_window->showWelcomeWindow(false);
    QTest::qWait(50);
    const QImage welcome = m_window->welcomeWindow()->grab().toImage();
    QVERIFY(!welcome.isNull());
    if (!out.isEmpty()) {
        welcome.save(out + "/welcome.png");
    }
    // Each template as it opens, with a joint selected.
    for (const auto& [name, joint] : {std::pair{"Biped", "head"}, {"Quadruped", "neck"}, {"Tentacle", "segment_2"}}) {
        QVERIFY(m_window->loadDocument(kShipped + "/projects/" + name + ".bsdoc", true, name));
        m_window->show();
        QTest::qWait(50);
        m_window->fitCanvas();
        m_window->manipulator()->setTargets({m_window->skeleton()->nodeByName(joint)->joint});
        QTest::qWait(50);
        const QImage window = m_window->grab().toImage();
        QVERIFY(!window.isNull());
        if (!out.isEmpty()) {
            window.save(out + "/main-window-" + name + ".png");
        }
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
