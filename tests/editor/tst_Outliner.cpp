// The outliner driven with real mouse and key events: rows built from the scene, the delegate's
// parts, selection by click and Shift-click, hiding and locking subtrees, drags that reparent
// (and the one that cannot), renaming by double click, and the canvas selection mirrored.
#include "HistoryManager.h"
#include "ScreenScale.h"
#include "TSOutlinerItemDelegate.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(const QGraphicsItem*)

namespace {

using Hit = TSOutlinerItemDelegate::Hit;

/// Joints and images made by hand, described the way the canvas describes its items.
struct HandMadeScene
{
    QGraphicsItem* joint(const QString& name, QGraphicsItem* parent = nullptr)
    {
        auto* item = new QGraphicsEllipseItem(-5, -5, 10, 10, parent);
        item->setData(131, name);
        item->setData(133, parent ? parent->data(131) : QVariant(QString()));
        if (!parent) {
            scene.addItem(item);
        }
        return item;
    }
    QGraphicsItem* image(const QString& name, QGraphicsItem* parent, double z = 0)
    {
        auto* item = new QGraphicsRectItem(0, 0, 8, 8, parent);
        item->setData(132, name);
        item->setData(136, true);
        item->setData(127, z);
        return item;
    }

    QGraphicsScene scene;
};

/// root ← spine ← (torso image, head ← face image), arm; and items that get no row.
struct Body : HandMadeScene
{
    Body()
    {
        root = joint("root");
        spine = joint("spine", root);
        torso = image("torso", spine);
        head = joint("head", spine);
        face = image("face", head);
        arm = joint("arm", root);
        new QGraphicsRectItem(0, 0, 4, 4, spine);            // a child without a name
        image("taken out", arm)->setData(136, false);        // an image no longer in the skeleton
        scene.addItem(new QGraphicsEllipseItem(0, 0, 4, 4)); // a top-level item that is no joint
    }

    QGraphicsItem* root;
    QGraphicsItem* spine;
    QGraphicsItem* torso;
    QGraphicsItem* head;
    QGraphicsItem* face;
    QGraphicsItem* arm;
};

QStringList rowTexts(QTreeWidget* tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QString prefix;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) {
            prefix += QLatin1Char('-');
        }
        texts << prefix + (*it)->text(0);
    }
    return texts;
}

QList<QTreeWidgetItem*> allRows(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        rows << *it;
    }
    return rows;
}

QTreeWidgetItem* rowNamed(QTreeWidget* tree, const QString& name, int match = 0)
{
    const QList<QTreeWidgetItem*> rows = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return rows.size() > match ? rows.at(match) : nullptr;
}

/// A point of row that the delegate calls hit (the middle of that part), or (-1, -1).
QPoint pointOf(TSOutlinerWidget* tree, QTreeWidgetItem* row, Hit hit, bool scroll = true)
{
    if (scroll) {
        tree->scrollToItem(row);
    }
    const QRect rect = tree->visualItemRect(row);
    QList<int> xs;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        if (tree->hitTest(row, QPoint(x, rect.center().y())) == hit) {
            xs << x;
        }
    }
    return xs.isEmpty() ? QPoint(-1, -1) : QPoint(xs.at(xs.size() / 2), rect.center().y());
}

/// A point of row at a fraction of its height, in its name part.
QPoint pointAt(TSOutlinerWidget* tree, QTreeWidgetItem* row, double height)
{
    const QPoint name = pointOf(tree, row, TSOutlinerItemDelegate::NameArea, false);
    const QRect rect = tree->visualItemRect(row);
    return QPoint(name.x(), rect.top() + static_cast<int>(std::lround(height * (rect.height() - 1))));
}

void click(TSOutlinerWidget* tree, const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, at);
}

/// Press on from, move in steps with the button held, release on to.
void dragRow(TSOutlinerWidget* tree, const QPoint& from, const QPoint& to)
{
    test::dragOn(tree->viewport(), from, to);
}

/// Drags a row from a fraction of its height to a fraction of another row's height; both rows
/// are scrolled into view first.
void dragRow(TSOutlinerWidget* tree, QTreeWidgetItem* from, double fromHeight, QTreeWidgetItem* to,
             double toHeight)
{
    QVERIFY(from && to);
    tree->scrollToItem(from);
    tree->scrollToItem(to);
    const QRect shown = tree->viewport()->rect();
    const auto inView = [&shown, tree](QTreeWidgetItem* row) {
        const QRect rect = tree->visualItemRect(row);
        return rect.top() >= shown.top() && rect.bottom() <= shown.bottom();
    };
    QVERIFY2(inView(from) && inView(to), "both rows must be in view");
    const QPoint start = pointAt(tree, from, fromHeight);
    dragRow(tree, start, pointAt(tree, to, toHeight));
}

bool near(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3;
}

} // namespace

class TestOutliner : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { closeWindow(); }
    void rowsFollowTheScene();
    void aSceneWithoutARootGivesAnEmptyTree();
    void bigTreesAndLongNames();
    void rowPartsAndTheirHits();
    void clickShiftClickAndEmptySpaceSelect();
    void dropsGoAboveOnOrBelowTheRow();
    void dropsFromOutside();
    void hidingAJointHidesItsSubtree();
    void lockingAJointLocksItsSubtree();
    void droppingAJointOnItsOwnChildIsRefused();
    void dragReparentKeepsThePoseAndUndoesInOneStep();
    void renamingChangesOnlyTheText();
    void canvasSelectionIsMirroredQuietly();
    void screenshots();

private:
    void openBiped();
    TSOutlinerWidget* tree() const { return m_window->outliner()->tree(); }
    QGraphicsItem* joint(const QString& name) const { return m_window->skeleton()->nodeByName(name)->joint; }
    /// Folds branches by their arrows, so the rows a test drags between are in view on any screen.
    void fold(const QStringList& names);
};

void TestOutliner::initTestCase()
{
    qRegisterMetaType<const QGraphicsItem*>();
    qRegisterMetaType<QList<QGraphicsItem*>>();
    setUpApplication();
}

void TestOutliner::openBiped()
{
    openWindow(QSize(1200, 900));
    openTemplate();
}

void TestOutliner::fold(const QStringList& names)
{
    for (const QString& name : names) {
        QTreeWidgetItem* row = rowNamed(tree(), name);
        QVERIFY(row && row->isExpanded());
        click(tree(), pointOf(tree(), row, TSOutlinerItemDelegate::ExpandArrow));
        QVERIFY(!row->isExpanded());
    }
}

void TestOutliner::rowsFollowTheScene()
{
    Body body;
    body.image("back", body.spine, 3);
    TSOutlinerWidget outliner;
    outliner.rebuildFromScene(&body.scene);
    // Images first (the front one at the top), then the joints under the joint.
    QCOMPARE(rowTexts(&outliner),
             QStringList({"root", "-spine", "--back", "--torso", "--head", "---face", "-arm"}));
    QTreeWidgetItem* root = outliner.topLevelItem(0);
    QTreeWidgetItem* spine = outliner.row(body.spine);
    QTreeWidgetItem* torso = outliner.row(body.torso);
    QCOMPARE(outliner.topLevelItemCount(), 1);
    QCOMPARE(TSOutlinerWidget::graphicsItem(spine), body.spine);
    QCOMPARE(spine->data(0, Qt::UserRole).toULongLong(), qulonglong(reinterpret_cast<quintptr>(body.spine)));
    QCOMPARE(spine->data(0, 133).toString(), QStringLiteral("root"));
    for (QTreeWidgetItem* row : allRows(&outliner)) {
        QVERIFY(!row->data(0, 257).toBool() && !row->data(0, 258).toBool() && !row->data(0, 259).toBool());
        QVERIFY(row->isExpanded() || row->childCount() == 0);
    }
    const TSOutlinerItemDelegate* delegate = outliner.delegate();
    QCOMPARE(root->icon(0).cacheKey(), delegate->icon("Icon_Skeleton").cacheKey());
    QCOMPARE(spine->icon(0).cacheKey(), delegate->icon("Icon_bone").cacheKey());
    QCOMPARE(torso->icon(0).cacheKey(), delegate->icon("BackgroundLayer").cacheKey());
    QVERIFY(!delegate->icon("Icon_Skeleton").isNull() && !delegate->icon("BackgroundLayer").isNull());
    // Only joints take drops.
    QVERIFY(spine->flags() & Qt::ItemIsDropEnabled);
    QVERIFY(!(torso->flags() & Qt::ItemIsDropEnabled));

    // Hidden and locked items show so when the rows are built again; what is under a hidden
    // row is hidden through it.
    body.spine->setVisible(false);
    ObjectManipulator::setLocked(body.head, true);
    outliner.rebuildFromScene(&body.scene);
    QVERIFY(outliner.row(body.spine)->data(0, 257).toBool());
    QVERIFY(!outliner.row(body.head)->data(0, 257).toBool());
    QVERIFY(outliner.row(body.head)->data(0, 259).toBool());
    QVERIFY(outliner.row(body.face)->data(0, 259).toBool());
    QVERIFY(!outliner.row(body.arm)->data(0, 259).toBool());
    QVERIFY(outliner.row(body.head)->data(0, 258).toBool());
    QVERIFY(!outliner.row(body.face)->data(0, 258).toBool());
}

void TestOutliner::aSceneWithoutARootGivesAnEmptyTree()
{
    TSOutlinerWidget outliner;
    Body body;
    outliner.rebuildFromScene(&body.scene);
    QVERIFY(outliner.topLevelItemCount() > 0);
    outliner.rebuildFromScene(nullptr);
    QCOMPARE(outliner.topLevelItemCount(), 0);
    // Images and unnamed items without a joint above them are no tree.
    HandMadeScene loose;
    auto* unnamed = new QGraphicsEllipseItem(0, 0, 5, 5);
    loose.scene.addItem(unnamed);
    loose.image("stray", unnamed);
    auto* image = loose.image("alone", nullptr);
    loose.scene.addItem(image);
    outliner.rebuildFromScene(&loose.scene);
    QCOMPARE(outliner.topLevelItemCount(), 0);
    QVERIFY(outliner.selectedObjects().isEmpty());
    // Clicks and drags on the empty tree do nothing.
    outliner.resize(200, 200);
    click(&outliner, QPoint(50, 50));
    dragRow(&outliner, QPoint(50, 20), QPoint(50, 120));
    QCOMPARE(outliner.topLevelItemCount(), 0);
}

void TestOutliner::bigTreesAndLongNames()
{
    // A chain of 500 joints and a fan of 500: every one gets its row, at its depth.
    HandMadeScene chain;
    QGraphicsItem* last = chain.joint("j0");
    for (int i = 1; i < 500; ++i) {
        last = chain.joint(QStringLiteral("j%1").arg(i), last);
    }
    HandMadeScene fan;
    QGraphicsItem* hub = fan.joint("hub");
    for (int i = 0; i < 500; ++i) {
        fan.image(QStringLiteral("i%1").arg(i), fan.joint(QStringLiteral("f%1").arg(i), hub));
    }
    TSOutlinerWidget outliner;
    outliner.resize(220, 300);
    outliner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outliner));
    outliner.rebuildFromScene(&chain.scene);
    QCOMPARE(allRows(&outliner).size(), 500);
    QTreeWidgetItem* deepest = outliner.row(last);
    QVERIFY(deepest);
    int depth = 0;
    for (QTreeWidgetItem* up = deepest->parent(); up; up = up->parent()) {
        ++depth;
    }
    QCOMPARE(depth, 499);
    outliner.rebuildFromScene(&fan.scene);
    QCOMPARE(allRows(&outliner).size(), 1001);
    QCOMPARE(outliner.topLevelItem(0)->childCount(), 500);
    // The same scene again keeps every row (nothing to rebuild).
    const QList<QTreeWidgetItem*> rows = allRows(&outliner);
    outliner.updateFromScene(&fan.scene);
    QCOMPARE(allRows(&outliner), rows);
    // Hiding the hub reaches all 1000 rows under it.
    QSignalSpy hidden(&outliner, &TSOutlinerWidget::objectVisibilityChanged);
    outliner.scrollToTop();
    click(&outliner, pointOf(&outliner, outliner.topLevelItem(0), TSOutlinerItemDelegate::VisibilityToggle));
    QCOMPARE(hidden.size(), 1001);

    // A very long name is cut short before the toggles; the row keeps the whole name.
    HandMadeScene longName;
    const QString name = QString(5000, QLatin1Char('W'));
    longName.image(name, longName.joint("root"));
    outliner.rebuildFromScene(&longName.scene);
    QTreeWidgetItem* row = outliner.topLevelItem(0)->child(0);
    QCOMPARE(row->text(0), name);
    // The scroll bar of the big tree goes once the layout has caught up.
    QTRY_VERIFY(!outliner.verticalScrollBar()->isVisible());
    const QRect rect = outliner.visualItemRect(row);
    QCOMPARE(rect.width(), outliner.viewport()->width());
    const QImage shot = outliner.viewport()->grab().toImage();
    const double s = ScreenScale::of(&outliner);
    const int toggles = rect.right() - static_cast<int>(std::lround(35 * s)) + 1;
    for (int x = toggles; x <= rect.right(); ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            const QColor pixel = shot.pixelColor(x * shot.width() / outliner.viewport()->width(),
                                                 y * shot.height() / outliner.viewport()->height());
            QVERIFY2(pixel.lightness() < 100, qPrintable(QStringLiteral("text at %1,%2").arg(x).arg(y)));
        }
    }
    // Resting the pointer on a cut name shows the whole of it; a name that fits needs no tip.
    const auto tipOver = [&outliner](QTreeWidgetItem* over) -> QString {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
            return QStringLiteral("(a tip that never goes)");
        }
        const QPoint at = pointOf(&outliner, over, TSOutlinerItemDelegate::NameArea);
        QHelpEvent hover(QEvent::ToolTip, at, outliner.viewport()->mapToGlobal(at));
        QApplication::sendEvent(outliner.viewport(), &hover);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    HandMadeScene arm;
    const QString cut = QStringLiteral("forearm_left_with_sleeve_and_cuff");
    arm.image(cut, arm.joint("arm"));
    outliner.rebuildFromScene(&arm.scene);
    QCOMPARE(tipOver(outliner.topLevelItem(0)->child(0)), cut);
    QCOMPARE(tipOver(outliner.topLevelItem(0)), QString());
}

void TestOutliner::rowPartsAndTheirHits()
{
    Body body;
    TSOutlinerWidget outliner;
    outliner.resize(300, 300);
    outliner.rebuildFromScene(&body.scene);
    const double s = ScreenScale::of(&outliner);
    const auto px = [s](double size) { return static_cast<int>(std::lround(size * s)); };
    const QTreeWidgetItem* head = outliner.row(body.head);
    const QRect rect = outliner.visualItemRect(head);
    QCOMPARE(rect.height(), px(20));
    QCOMPARE(outliner.delegate()->sizeHint(QStyleOptionViewItem(), QModelIndex()), QSize(px(130), px(20)));
    const int y = rect.center().y();
    const auto hit = [&](int x) { return outliner.hitTest(head, QPoint(rect.left() + x, y)); };
    // head is two joints deep: 30 pixels of indentation, then its arrow.
    QCOMPARE(hit(px(10)), int(TSOutlinerItemDelegate::NameArea));
    QCOMPARE(hit(px(31)), int(TSOutlinerItemDelegate::ExpandArrow));
    QCOMPARE(hit(px(44)), int(TSOutlinerItemDelegate::ExpandArrow));
    QCOMPARE(hit(px(47)), int(TSOutlinerItemDelegate::NameArea));
    QCOMPARE(hit(rect.width() - px(34)), int(TSOutlinerItemDelegate::VisibilityToggle));
    QCOMPARE(hit(rect.width() - px(21)), int(TSOutlinerItemDelegate::VisibilityToggle));
    QCOMPARE(hit(rect.width() - px(19)), int(TSOutlinerItemDelegate::LockToggle));
    QCOMPARE(hit(rect.width() - 1), int(TSOutlinerItemDelegate::LockToggle));

    // The arrow folds and unfolds a row with children; on a row without, it is a name click.
    outliner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outliner));
    QTreeWidgetItem* spine = outliner.row(body.spine);
    click(&outliner, pointOf(&outliner, spine, TSOutlinerItemDelegate::ExpandArrow));
    QVERIFY(!spine->isExpanded());
    QVERIFY(outliner.selectedObjects().isEmpty());
    click(&outliner, pointOf(&outliner, spine, TSOutlinerItemDelegate::ExpandArrow));
    QVERIFY(spine->isExpanded());
    click(&outliner, pointOf(&outliner, outliner.row(body.arm), TSOutlinerItemDelegate::ExpandArrow));
    QCOMPARE(outliner.selectedObjects(), {body.arm});
    // A selected row is painted in the selection colour, with dark text.
    const QImage shot = outliner.viewport()->grab().toImage();
    const QRect arm = outliner.visualItemRect(outliner.row(body.arm));
    QCOMPARE(shot.pixelColor(arm.left() + 2, arm.top() + 2), QColor(242, 197, 90));
}

void TestOutliner::clickShiftClickAndEmptySpaceSelect()
{
    Body body;
    TSOutlinerWidget outliner;
    outliner.resize(220, 400);
    outliner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outliner));
    outliner.rebuildFromScene(&body.scene);
    QSignalSpy current(&outliner, &TSOutlinerWidget::currentObjectChanged);
    QSignalSpy pressed(&outliner, &TSOutlinerWidget::mousePressed);
    const QList<QTreeWidgetItem*> rows = allRows(&outliner);
    const auto name = [&](int index) {
        return pointOf(&outliner, rows.at(index), TSOutlinerItemDelegate::NameArea);
    };
    click(&outliner, name(2));
    QCOMPARE(outliner.selectedObjects(), {body.torso});
    QCOMPARE(current.size(), 1);
    QCOMPARE(current.last().first().value<QList<QGraphicsItem*>>(), {body.torso});
    QCOMPARE(pressed.size(), 1);
    // Shift-click from the third row to the first takes the three rows.
    click(&outliner, name(0), Qt::ShiftModifier);
    QCOMPARE(outliner.selectedObjects(), QList<QGraphicsItem*>({body.torso, body.spine, body.root}));
    QCOMPARE(current.last().first().value<QList<QGraphicsItem*>>().size(), 3);
    QCOMPARE(outliner.selectedItems().size(), 3);
    // The clicked row is the new anchor: Shift-click down to the fifth adds the rows between.
    click(&outliner, name(4), Qt::ShiftModifier);
    QCOMPARE(outliner.selectedObjects(),
             QList<QGraphicsItem*>({body.torso, body.spine, body.root, body.head, body.face}));
    // A plain click takes one row again; the same click again changes nothing.
    click(&outliner, name(5));
    QCOMPARE(outliner.selectedObjects(), {body.arm});
    const int announced = current.size();
    click(&outliner, name(5));
    QCOMPARE(current.size(), announced);
    // Releasing on empty space lets go of everything.
    click(&outliner, QPoint(20, outliner.viewport()->height() - 5));
    QVERIFY(outliner.selectedObjects().isEmpty());
    QVERIFY(outliner.selectedItems().isEmpty());
    QCOMPARE(current.last().first().value<QList<QGraphicsItem*>>(), QList<QGraphicsItem*>());
    // Selecting through the operations: by item, appended, and none.
    outliner.selectItem(body.head);
    outliner.selectItem(body.face, true);
    QCOMPARE(outliner.selectedObjects(), QList<QGraphicsItem*>({body.head, body.face}));
    outliner.selectItem(nullptr);
    QVERIFY(outliner.selectedObjects().isEmpty());
}

void TestOutliner::dropsGoAboveOnOrBelowTheRow()
{
    Body body;
    TSOutlinerWidget outliner;
    outliner.resize(220, 400);
    outliner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outliner));
    outliner.rebuildFromScene(&body.scene);
    QSignalSpy moved(&outliner, &TSOutlinerWidget::moveItemToItemAtIndex);
    QSignalSpy movedTo(&outliner, &TSOutlinerWidget::moveItemToItem);
    const auto dragArmTo = [&](QGraphicsItem* target, double height) {
        QTreeWidgetItem* arm = outliner.row(body.arm);
        dragRow(&outliner, arm, 0.5, outliner.row(target), height);
    };
    const auto last = [&moved] {
        const QList<QVariant> args = moved.last();
        return QStringLiteral("%1 > %2 @ %3")
            .arg(args.at(0).value<const QGraphicsItem*>()->data(131).toString(),
                 args.at(1).value<const QGraphicsItem*>()->data(131).toString())
            .arg(args.at(2).toInt());
    };
    // On a joint: its upper fifth is above it, its lower fifth below it, the rest on it.
    dragArmTo(body.head, 0.1);
    QCOMPARE(last(), QStringLiteral("arm > spine @ 1"));
    dragArmTo(body.head, 0.9);
    QCOMPARE(last(), QStringLiteral("arm > spine @ 2"));
    dragArmTo(body.head, 0.5);
    QCOMPARE(last(), QStringLiteral("arm > head @ 0"));
    QCOMPARE(movedTo.last().at(1).value<QGraphicsItem*>(), body.head);
    QCOMPARE(movedTo.last().at(2).toInt(), int(TSOutlinerWidget::OnItem));
    // On an image, which takes no drops: its upper half is above it, its lower half below.
    dragArmTo(body.torso, 0.4);
    QCOMPARE(last(), QStringLiteral("arm > spine @ 0"));
    dragArmTo(body.torso, 0.6);
    QCOMPARE(last(), QStringLiteral("arm > spine @ 1"));
    // Below every row: the end of the root.
    dragRow(&outliner, pointAt(&outliner, outliner.row(body.arm), 0.5),
            QPoint(40, outliner.viewport()->height() - 4));
    QCOMPARE(last(), QStringLiteral("arm > root @ 2"));
    QCOMPARE(moved.size(), 6);
    // Beside the root there is no joint to go under; a press that hardly moves is a click.
    dragArmTo(body.root, 0.1);
    const QPoint arm = pointAt(&outliner, outliner.row(body.arm), 0.5);
    dragRow(&outliner, arm, arm + QPoint(1, 1));
    QCOMPARE(moved.size(), 6);
    QCOMPARE(outliner.selectedObjects(), {body.arm});
}

void TestOutliner::dropsFromOutside()
{
    // A drop that did not start with a press here goes the way Qt delivers drops to the viewport.
    Body body;
    TSOutlinerWidget outliner;
    outliner.resize(220, 400);
    outliner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outliner));
    outliner.rebuildFromScene(&body.scene);
    QSignalSpy moved(&outliner, &TSOutlinerWidget::moveItemToItemAtIndex);
    const auto dropText = [&](const QString& text, const QPoint& at) {
        QMimeData data;
        data.setData(TSOutlinerWidget::kMimeType, text.toLatin1());
        data.setText(text);
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(outliner.viewport(), &enter);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(outliner.viewport(), &drop);
        return enter.isAccepted() && drop.isAccepted();
    };
    const QPoint onHead = pointAt(&outliner, outliner.row(body.head), 0.5);
    const QString arm = QString::number(reinterpret_cast<quintptr>(outliner.row(body.arm)));
    QVERIFY(dropText(arm, onHead));
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.last().at(1).value<const QGraphicsItem*>(), static_cast<const QGraphicsItem*>(body.head));
    // Text that is no row of this tree is refused.
    for (const QString& bad : {QString("12345"), QString("not a number"), QString()}) {
        QVERIFY(!dropText(bad, onHead));
    }
    QCOMPARE(moved.size(), 1);
}

void TestOutliner::hidingAJointHidesItsSubtree()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    HistoryManager* history = m_window->history();
    QTreeWidgetItem* chest = rowNamed(tree(), "chest");
    QVERIFY(chest);
    const QList<Skeleton::Node*> below = skeleton->subtree(skeleton->nodeByName("chest"));
    const QList<Skeleton::Asset*> images = skeleton->imagesOf(below);
    QCOMPARE(below.size(), 9);
    QVERIFY(images.size() >= 9);
    m_window->manipulator()->setTargets({joint("head")});
    QSignalSpy visibility(tree(), &TSOutlinerWidget::objectVisibilityChanged);
    const int steps = history->count();

    click(tree(), pointOf(tree(), chest, TSOutlinerItemDelegate::VisibilityToggle));
    QCOMPARE(visibility.size(), below.size() + images.size());
    for (const Skeleton::Node* node : below) {
        QVERIFY2(!node->joint->isVisible() && !node->overlay->isVisible(), qPrintable(node->name));
        QVERIFY2(!node->bone || !node->bone->isVisible(), qPrintable(node->name));
        QVERIFY(tree()->row(node->joint)->data(0, 257).toBool());
    }
    for (const Skeleton::Asset* image : images) {
        QVERIFY2(!image->item->isVisible(), qPrintable(image->name));
        QVERIFY(tree()->row(image->placeholder)->data(0, 259).toBool());
    }
    QVERIFY(!tree()->row(joint("chest"))->data(0, 259).toBool());
    QVERIFY(skeleton->nodeByName("spine")->overlay->isVisible());
    QVERIFY(imageOf("spine")->item->isVisible());
    // The hidden head left the selection; the history did not record anything.
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    QCOMPARE(history->count(), steps);
    // Playing a frame does not bring anything back.
    m_window->showFrame(3);
    QVERIFY(!skeleton->nodeByName("head")->overlay->isVisible() && !imageOf("head")->item->isVisible());

    // Showing the head alone: it stays unseen while the chest is hidden.
    click(tree(), pointOf(tree(), rowNamed(tree(), "head"), TSOutlinerItemDelegate::VisibilityToggle));
    QVERIFY(!tree()->row(joint("head"))->data(0, 257).toBool());
    QVERIFY(tree()->row(joint("head"))->data(0, 259).toBool());
    QVERIFY(!skeleton->nodeByName("head")->overlay->isVisible());

    // Showing the chest shows everything under it again.
    click(tree(), pointOf(tree(), chest, TSOutlinerItemDelegate::VisibilityToggle));
    for (const Skeleton::Node* node : below) {
        QVERIFY2(node->joint->isVisible() && node->overlay->isVisible(), qPrintable(node->name));
        QVERIFY(!node->bone || node->bone->isVisible());
        QVERIFY(!tree()->row(node->joint)->data(0, 257).toBool());
        QVERIFY(!tree()->row(node->joint)->data(0, 259).toBool());
    }
    for (const Skeleton::Asset* image : images) {
        QVERIFY2(image->item->isVisible(), qPrintable(image->name));
    }
    QCOMPARE(history->count(), steps);
    QVERIFY(!m_window->document()->isModified());
}

void TestOutliner::lockingAJointLocksItsSubtree()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    clickOverlay("Animation mode");
    QVERIFY(skeleton->animationMode());
    const QList<Skeleton::Node*> arm = skeleton->subtree(skeleton->nodeByName("upper_arm_L"));
    QCOMPARE(arm.size(), 3);
    const auto selectable = [](const QGraphicsItem* item) {
        return bool(item->flags() & QGraphicsItem::ItemIsSelectable);
    };
    QVERIFY(selectable(joint("hand_L")));

    click(tree(), pointOf(tree(), rowNamed(tree(), "upper_arm_L"), TSOutlinerItemDelegate::LockToggle));
    for (const Skeleton::Node* node : arm) {
        QVERIFY2(!selectable(node->joint), qPrintable(node->name));
        QVERIFY(tree()->row(node->joint)->data(0, 258).toBool());
    }
    for (const Skeleton::Asset* image : skeleton->imagesOf(arm)) {
        QVERIFY(!selectable(image->placeholder));
    }
    QVERIFY(selectable(joint("chest")));
    // A click on the locked hand on the canvas does not pick it.
    const QPointF hand = joint("hand_L")->sceneBoundingRect().center();
    clickAt(hand);
    QVERIFY(!m_window->manipulator()->targets().contains(joint("hand_L")));
    // Leaving animation mode and coming back keeps the lock.
    clickOverlay("Animation mode");
    QVERIFY(!skeleton->animationMode());
    clickOverlay("Animation mode");
    QVERIFY(skeleton->animationMode());
    QVERIFY(!selectable(joint("hand_L")));
    // Unlocking gives everything under the row back to the canvas.
    click(tree(), pointOf(tree(), rowNamed(tree(), "upper_arm_L"), TSOutlinerItemDelegate::LockToggle));
    for (const Skeleton::Node* node : arm) {
        QVERIFY2(selectable(node->joint), qPrintable(node->name));
    }
    clickAt(hand);
    QCOMPARE(m_window->manipulator()->targets(), {joint("hand_L")});
}

void TestOutliner::droppingAJointOnItsOwnChildIsRefused()
{
    test::Boxes boxes;
    openBiped();
    fold({"thigh_R", "thigh_L", "upper_arm_R", "upper_arm_L"});
    const QStringList rows = rowTexts(tree());
    const int steps = m_window->history()->count();
    const auto dropChestOn = [&](const QString& target, double height) {
        dragRow(tree(), rowNamed(tree(), "chest"), 0.5, rowNamed(tree(), target), height);
    };
    dropChestOn("head", 0.5);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Drag error"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("Destination Node is child of Dragged one."));
    QCOMPARE(boxes.shown.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Onto itself, and beside one of its children, is the same.
    const QPoint chest = pointAt(tree(), rowNamed(tree(), "chest"), 0.5);
    dragRow(tree(), chest, chest + QPoint(30, 0));
    dropChestOn("neck", 0.1);
    QCOMPARE(boxes.shown.size(), 3);
    QCOMPARE(rowTexts(tree()), rows);
    QCOMPARE(m_window->skeleton()->nodeByName("chest")->parent, QStringLiteral("spine"));
    QCOMPARE(m_window->history()->count(), steps);
    // Beside its own row it stays where it is, without a box or a step.
    dropChestOn("chest", 0.05);
    QCOMPARE(boxes.shown.size(), 3);
    QCOMPARE(m_window->history()->count(), steps);
}

void TestOutliner::dragReparentKeepsThePoseAndUndoesInOneStep()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    HistoryManager* history = m_window->history();
    const auto scenePoint = [&](const char* name) {
        return joint(name)->sceneTransform().map(QPointF(0, 0));
    };
    fold({"thigh_R", "thigh_L", "upper_arm_R"});
    // Posed at a frame of the walk, so the pose is not the set-up pose.
    m_window->showFrame(7);
    const QPointF hand = scenePoint("hand_L");
    const QPointF finger = joint("hand_L")->sceneTransform().map(QPointF(10, 0));
    const int steps = history->count();

    dragRow(tree(), rowNamed(tree(), "hand_L"), 0.5, rowNamed(tree(), "head"), 0.5);
    QCOMPARE(skeleton->nodeByName("hand_L")->parent, QStringLiteral("head"));
    QCOMPARE(joint("hand_L")->parentItem(), joint("head"));
    QVERIFY(near(scenePoint("hand_L"), hand));
    QVERIFY(near(joint("hand_L")->sceneTransform().map(QPointF(10, 0)), finger));
    QCOMPARE(history->count(), steps + 1);
    QCOMPARE(history->undoText(), QStringLiteral("reparent node"));
    QCOMPARE(rowNamed(tree(), "hand_L")->parent(), rowNamed(tree(), "head"));

    undo();
    QCOMPARE(history->index(), steps);
    QCOMPARE(skeleton->nodeByName("hand_L")->parent, QStringLiteral("forearm_L"));
    QVERIFY(near(scenePoint("hand_L"), hand));
    QCOMPARE(rowNamed(tree(), "hand_L")->parent(), rowNamed(tree(), "forearm_L"));
    redo();
    QCOMPARE(skeleton->nodeByName("hand_L")->parent, QStringLiteral("head"));
    QVERIFY(near(scenePoint("hand_L"), hand));
    undo();

    // An image row goes to another joint the same way: its picture stays where it is drawn.
    // The far arm's branch sits between the chest and the head: folded, both rows fit.
    fold({"upper_arm_L"});
    Skeleton::Asset* face = imageOf("head");
    const QTransform drawn = face->item->sceneTransform();
    QTreeWidgetItem* faceRow = tree()->row(face->placeholder);
    QVERIFY(faceRow);
    dragRow(tree(), faceRow, 0.5, rowNamed(tree(), "pelvis"), 0.5);
    QCOMPARE(face->nodeName, QStringLiteral("pelvis"));
    QCOMPARE(tree()->row(face->placeholder)->parent(), rowNamed(tree(), "pelvis"));
    QVERIFY(near(face->item->sceneTransform().map(QPointF(0, 0)), drawn.map(QPointF(0, 0))));
    QVERIFY(near(face->item->sceneTransform().map(QPointF(20, 20)), drawn.map(QPointF(20, 20))));
    QCOMPARE(history->undoText(), QStringLiteral("reparent asset"));
    undo();
    QCOMPARE(face->nodeName, QStringLiteral("head"));
    QCOMPARE(history->index(), steps);
}

void TestOutliner::renamingChangesOnlyTheText()
{
    test::Boxes boxes;
    openBiped();
    Skeleton::Node* forearm = m_window->skeleton()->nodeByName("forearm_L");
    // A folded branch and the scroll position show that nothing was built anew.
    QTreeWidgetItem* thigh = rowNamed(tree(), "thigh_R");
    click(tree(), pointOf(tree(), thigh, TSOutlinerItemDelegate::ExpandArrow));
    QVERIFY(!thigh->isExpanded());
    const QList<QTreeWidgetItem*> rows = allRows(tree());
    QTreeWidgetItem* row = rowNamed(tree(), "forearm_L");
    const auto rename = [&](const QString& text, int key) {
        const QPoint name = pointOf(tree(), row, TSOutlinerItemDelegate::NameArea);
        click(tree(), name);
        QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, name);
        QPointer<QLineEdit> editor = tree()->viewport()->findChild<QLineEdit*>("outlinerNameEditor");
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->selectedText(), row->text(0));
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key(key));
        // The editor closes (and the name is asked for) once the key press is through.
        QTRY_VERIFY(!editor);
    };
    rename("lower arm", Qt::Key_Return);
    QCOMPARE(forearm->name, QStringLiteral("lower arm"));
    QCOMPARE(m_window->skeleton()->nodeByName("hand_L")->parent, QStringLiteral("lower arm"));
    QCOMPARE(row->text(0), QStringLiteral("lower arm"));
    QCOMPARE(allRows(tree()), rows);
    QVERIFY(!thigh->isExpanded());
    QCOMPARE(tree()->selectedObjects(), {forearm->joint});
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("Attribute Edit"));
    undo();
    QCOMPARE(forearm->name, QStringLiteral("forearm_L"));
    QCOMPARE(row->text(0), QStringLiteral("forearm_L"));
    QCOMPARE(allRows(tree()), rows);

    // A name that is taken is refused with the reason; Escape keeps the name.
    const int steps = m_window->history()->count();
    rename("head", Qt::Key_Return);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().text, QStringLiteral("A node named \"head\" already exists."));
    rename("elbow", Qt::Key_Escape);
    QCOMPARE(forearm->name, QStringLiteral("forearm_L"));
    QCOMPARE(row->text(0), QStringLiteral("forearm_L"));
    QCOMPARE(m_window->history()->count(), steps);

    // An image is renamed the same way; its row keeps its place under the joint.
    Skeleton::Asset* face = imageOf("head");
    row = tree()->row(face->placeholder);
    QTreeWidgetItem* parent = row->parent();
    rename("face", Qt::Key_Return);
    QCOMPARE(face->name, QStringLiteral("face"));
    QCOMPARE(row->text(0), QStringLiteral("face"));
    QCOMPARE(row->parent(), parent);
    QCOMPARE(allRows(tree()), rows);

    // A name typed into the object settings column changes the row's text just the same.
    row = rowNamed(tree(), "neck");
    click(tree(), pointOf(tree(), row, TSOutlinerItemDelegate::NameArea));
    auto* field = m_window->findChild<QLineEdit*>("name");
    QVERIFY(field && field->isVisible());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, "throat");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(m_window->skeleton()->nodeByName("throat")->joint, tree()->graphicsItem(row));
    QCOMPARE(row->text(0), QStringLiteral("throat"));
    QCOMPARE(allRows(tree()), rows);
    QVERIFY(!thigh->isExpanded());
}

void TestOutliner::canvasSelectionIsMirroredQuietly()
{
    openBiped();
    QSignalSpy current(tree(), &TSOutlinerWidget::currentObjectChanged);
    Skeleton::Asset* face = imageOf("head");
    m_window->manipulator()->setTargets({joint("head"), face->placeholder});
    QCOMPARE(tree()->selectedObjects(), QList<QGraphicsItem*>({joint("head"), face->placeholder}));
    QCOMPARE(tree()->selectedItems().size(), 2);
    m_window->manipulator()->setTargets({});
    QVERIFY(tree()->selectedObjects().isEmpty());
    QCOMPARE(current.size(), 0);
    // A row picked in the outliner becomes the canvas selection, an image too.
    click(tree(), pointOf(tree(), tree()->row(face->placeholder), TSOutlinerItemDelegate::NameArea));
    QCOMPARE(m_window->manipulator()->targets(), {face->placeholder});
    QCOMPARE(current.size(), 1);
    // An image picked on the canvas whose row lies below the outliner's view is scrolled to.
    m_window->resize(m_window->width(), 480);
    QTRY_VERIFY(tree()->verticalScrollBar()->isVisible());
    tree()->scrollToTop();
    QTreeWidgetItem* footRow = tree()->row(imageOf("foot_R")->placeholder);
    QVERIFY(footRow);
    QVERIFY(!tree()->viewport()->rect().intersects(tree()->visualItemRect(footRow)));
    clickImage(imageOf("foot_R"));
    QCOMPARE(tree()->selectedObjects(), {imageOf("foot_R")->placeholder});
    QVERIFY(tree()->viewport()->rect().contains(tree()->visualItemRect(footRow).center()));
    // A structural edit builds the rows anew and keeps the canvas selection shown.
    QTest::keyClick(m_window->graphicsView(), Qt::Key_N);
    QCOMPARE(m_window->manipulator()->targets().size(), 1);
    QCOMPARE(tree()->selectedObjects(), m_window->manipulator()->targets());
    QVERIFY(rowNamed(tree(), "New node 1"));
}

void TestOutliner::screenshots()
{
    test::Boxes boxes;
    openBiped();
    OutlinerPanel* column = m_window->outliner();
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    click(tree(), pointOf(tree(), rowNamed(tree(), "forearm_L"), TSOutlinerItemDelegate::NameArea));
    click(tree(), pointOf(tree(), rowNamed(tree(), "head"), TSOutlinerItemDelegate::NameArea),
          Qt::ShiftModifier);
    click(tree(), pointOf(tree(), rowNamed(tree(), "thigh_R"), TSOutlinerItemDelegate::VisibilityToggle));
    click(tree(), pointOf(tree(), rowNamed(tree(), "upper_arm_R"), TSOutlinerItemDelegate::LockToggle));
    click(tree(), pointOf(tree(), rowNamed(tree(), "shin_L"), TSOutlinerItemDelegate::ExpandArrow));
    const QImage panel = column->grab().toImage();
    QVERIFY(!panel.isNull());
    // Halfway through a drag: the frame around the joint the row would go under.
    const QPoint from = pointAt(tree(), rowNamed(tree(), "neck"), 0.5);
    test::sendMouseTo(tree()->viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    test::sendMouseTo(tree()->viewport(), QEvent::MouseMove, pointAt(tree(), rowNamed(tree(), "spine"), 0.5), Qt::NoButton,
         Qt::LeftButton);
    const QImage dragging = column->grab().toImage();
    // Let go just above where it was: it stays.
    const QPoint above = pointAt(tree(), rowNamed(tree(), "neck"), 0.05);
    test::sendMouseTo(tree()->viewport(), QEvent::MouseMove, above, Qt::NoButton, Qt::LeftButton);
    test::sendMouseTo(tree()->viewport(), QEvent::MouseButtonRelease, above, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_window->skeleton()->nodeByName("neck")->parent, QStringLiteral("chest"));
    QVERIFY(boxes.shown.isEmpty());
    if (!out.isEmpty()) {
        panel.save(out + "/outliner-panel.png");
        dragging.save(out + "/outliner-drag.png");
        m_window->grab().save(out + "/outliner-window.png");
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestOutliner)
#include "tst_Outliner.moc"
