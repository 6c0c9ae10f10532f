// The attributes panel: which attributes get rows and in what order, each kind's editor writing
// its attribute, Ctrl+Z and Ctrl+Y going to the history, the keyed colours of animated values
// and the rows of the animation editor's property list.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "HistoryManager.h"
#include "ScreenScale.h"
#include "TSAnimationCurve.h"
#include "TSAttributeWidget.h"
#include "TSAttributeWidgetFloat.h"
#include "TSAttributeWidgetKey.h"
#include "TSAttributesView.h"
#include "TSInterfaceEditorAttributeItemDelegate.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeAction.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeEnum.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeGroup.h"
#include "TSPAttributeKey.h"
#include "TSPAttributeString.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>
#include <QtTest>

namespace {

/// A model with one attribute of most kinds, and two the panel leaves out.
class PanelModel : public TSModel
{
public:
    PanelModel() : TSModel("PanelModel", "panel")
    {
        speed = addTypedAttribute<TSPAttributeFloat>("Speed");
        addAttribute("Track", TSPAttribute::Path);
        addAttribute("Voice", TSPAttribute::Sound);
        label = addTypedAttribute<TSPAttributeString>("Label");
        auto* transform = addTypedAttribute<TSPAttributeGroup>("Transform");
        addAttribute("Offset", TSPAttribute::Point, 0, transform);
        addAttribute("Internal", TSPAttribute::Float, 0, nullptr, 0, true);
        addTypedAttribute<TSPAttributeFloat>("Follower")->setLinkedAttribute(speed);
        mode = addTypedAttribute<TSPAttributeEnum>("Mode");
        auto* options = cocos2d::CCDictionary::create();
        options->setObject(cocos2d::CCString::create("1"), "Walk");
        options->setObject(cocos2d::CCString::create("2"), "Run");
        mode->setOptions(options);
        mode->setSelectedValue("Walk");
        flag = addTypedAttribute<TSPAttributeBoolean>("Looping");
        key = addTypedAttribute<TSPAttributeKey>("Hot Key");
        action = addTypedAttribute<TSPAttributeAction>("Fire");
    }

    TSPAttributeFloat* speed;
    TSPAttributeString* label;
    TSPAttributeEnum* mode;
    TSPAttributeBoolean* flag;
    TSPAttributeKey* key;
    TSPAttributeAction* action;
};

/// A step whose undo and redo are counted.
class CountingCommand : public QUndoCommand
{
public:
    explicit CountingCommand(int* undos) : m_undos(undos) {}
    void undo() override { ++*m_undos; }

private:
    int* m_undos;
};

QStringList rowNames(const TSAttributesView& view)
{
    QStringList names;
    for (TSAttributeWidget* row : view.rows()) {
        names << row->displayName();
    }
    return names;
}

} // namespace

Q_DECLARE_METATYPE(TSPAttribute*)

class TestAttributesPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { TSModelController::destroyInstance(); }
    void hiddenAttributesLeaveAnEmptyColumn();
    void rowsFollowTheModelWithoutPathSoundOrExcluded();
    void everyKindWritesItsAttribute();
    void ctrlZInAFieldGoesToTheHistory();
    void setKeyFrameTurnsGreenToOrange();
    void propertyListRows();
};

void TestAttributesPanel::hiddenAttributesLeaveAnEmptyColumn()
{
    PanelModel model;
    cocos2d::CCArray* hidden = cocos2d::CCArray::create();
    for (const char* name : {"Speed", "Label"}) {
        model.attributeNamed(name)->hide();
        hidden->addObject(model.attributeNamed(name));
    }
    TSAttributesView view;
    view.setModel(hidden);
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.rows().size(), 2);
    for (TSAttributeWidget* row : view.rows()) {
        QVERIFY(!row->isVisible());
    }
    QLayoutItem* last = view.layout()->itemAt(view.layout()->count() - 1);
    QVERIFY(last->spacerItem());
    QCOMPARE(last->spacerItem()->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(view.property("firstAttributeInvisible").toBool(), false);

    // Shown again, a row comes back on refresh; no model clears the column.
    model.speed->show();
    view.refresh();
    QVERIFY(view.widgetFor(model.speed)->isVisible());
    view.setModel(nullptr);
    QCOMPARE(view.layout()->count(), 0);
}

void TestAttributesPanel::rowsFollowTheModelWithoutPathSoundOrExcluded()
{
    PanelModel model;
    TSAttributesView view;
    view.setModel(model.attributes());
    QCOMPARE(rowNames(view),
             QStringList({"Name", "Speed", "Label", "Transform", "Mode", "Looping", "Hot Key", "Fire"}));
    for (const char* absent : {"Track", "Voice", "Internal", "Follower"}) {
        QVERIFY2(!view.widgetFor(model.attributeNamed(absent)), absent);
    }
    // The group's child has its row in the group's section, not at the top.
    TSAttributeWidget* offset = view.widgetFor(model.attributeNamed("Offset"));
    QVERIFY(offset);
    QCOMPARE(offset->parentWidget(), view.widgetFor(model.attributeNamed("Transform")));

    // Every colour value of a sprite container gets its row.
    auto* container = new TSModelSpriteContainer();
    view.setModel(container->attributes());
    QCOMPARE(rowNames(view), QStringList({"Name", "Brightness", "Contrast", "Hue", "Saturation", "Opacity"}));
    view.setModel(nullptr);
    container->release();
}

void TestAttributesPanel::everyKindWritesItsAttribute()
{
    PanelModel model;
    TSAttributesView view;
    view.setModel(model.attributes());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    qRegisterMetaType<TSPAttribute*>();
    QSignalSpy edited(&view, qOverload<TSPAttribute*>(&TSAttributesView::attributeEditingFinished));

    test::typeInto(view.widgetFor(model.speed)->findChild<QLineEdit*>("value"), "2.5");
    QCOMPARE(model.speed->value(), 2.5f);
    // Text that is no number is not taken; the field shows the value again.
    auto* speed = view.widgetFor(model.speed)->findChild<QLineEdit*>("value");
    test::typeInto(speed, "fast");
    QCOMPARE(speed->text(), QStringLiteral("2.5"));
    test::typeInto(view.widgetFor(model.label)->findChild<QLineEdit*>("text"), "hello");
    QCOMPARE(model.label->text(), QStringLiteral("hello"));
    QTest::mouseClick(view.widgetFor(model.flag)->findChild<QCheckBox*>(), Qt::LeftButton);
    QCOMPARE(model.flag->value(), true);
    auto* mode = view.widgetFor(model.mode)->findChild<QComboBox*>();
    QCOMPARE(mode->currentText(), QStringLiteral("Walk"));
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    QCOMPARE(model.mode->selectedValue(), std::string("Run"));
    TSModel* fired = nullptr;
    model.action->setCallback([&fired](TSModel* owner) { fired = owner; });
    QTest::mouseClick(view.widgetFor(model.action)->findChild<QPushButton*>(), Qt::LeftButton);
    QCOMPARE(fired, &model);

    auto* hotKey = view.widgetFor(model.key)->findChild<QLineEdit*>("hotKey");
    QTest::keyClick(hotKey, Qt::Key_K);
    QCOMPARE(model.key->value(), int(Qt::Key_K));
    QCOMPARE(hotKey->text(), QStringLiteral("K"));
    test::Boxes boxes;
    QTest::keyClick(hotKey, Qt::Key_Escape);
    QCOMPARE(model.key->value(), int(Qt::Key_K));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Wrong Key"));
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("You have pressed key: Esc\r\nOnly letters, digits, function "
                            "keys, arrow keys and Space can be used as hot keys."));

    QList<TSPAttribute*> reported;
    for (const QList<QVariant>& call : edited) {
        reported << call[0].value<TSPAttribute*>();
    }
    QCOMPARE(reported, QList<TSPAttribute*>(
                           {model.speed, model.label, model.flag, model.mode, model.action, model.key}));
}

void TestAttributesPanel::ctrlZInAFieldGoesToTheHistory()
{
    HistoryManager history;
    int undos = 0;
    history.push(new CountingCommand(&undos));
    PanelModel model;
    QWidget window;
    auto* view = new TSAttributesView(&window);
    view->setModel(model.attributes());
    // A Ctrl+Z shortcut of the window must not see the keys either.
    auto* undoAction = new QAction(&window);
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    window.addAction(undoAction);
    QSignalSpy shortcut(undoAction, &QAction::triggered);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    auto* field = view->widgetFor(model.speed)->findChild<QLineEdit*>("value");
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, "7");
    QCOMPARE(field->text(), QStringLiteral("07"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(undos, 1);
    QCOMPARE(history.index(), 0);
    // The field's own undo did not run, and nothing else got the keys.
    QCOMPARE(field->text(), QStringLiteral("07"));
    QCOMPARE(shortcut.count(), 0);
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(history.index(), 1);
    QCOMPARE(field->text(), QStringLiteral("07"));
}

void TestAttributesPanel::setKeyFrameTurnsGreenToOrange()
{
    auto* container = new TSModelSpriteContainer();
    auto* brightness = static_cast<TSPAttributeFloat*>(container->attributeNamed("Brightness"));
    brightness->setCurve(std::make_unique<TSAnimationCurve>());
    brightness->setValue(0.25f); // a key at time 0
    container->setEvaluationPosition(0.5f);
    TSAttributesView view;
    view.setModel(container->attributes());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto* row = static_cast<TSAttributeWidgetFloat*>(view.widgetFor(brightness));
    QLineEdit* field = row->valueEdit();
    QVERIFY(row->isAnimated() && !row->isKeyed());
    QCOMPARE(field->palette().color(QPalette::Text), QColor(55, 235, 138));
    // A value that is not animated has no colour of its own.
    QCOMPARE(view.widgetFor(container->attributeNamed("Hue"))
                 ->findChild<QLineEdit*>("value")
                 ->palette()
                 .color(QPalette::Text),
             view.palette().color(QPalette::Text));

    qRegisterMetaType<TSAttributeWidget*>();
    QSignalSpy edited(row, &TSAttributeWidget::editingFinished);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, field->rect().center(),
                                field->mapToGlobal(field->rect().center()));
    QApplication::sendEvent(field, &menuEvent);
    auto* menu = field->findChild<QMenu*>("keyFrameMenu");
    QVERIFY(menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction* setKey = menu->findChild<QAction*>("setKeyFrameAction");
    QCOMPARE(setKey->text(), QStringLiteral("Set Key Frame"));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(setKey).center());
    QVERIFY(row->isKeyed());
    QCOMPARE(field->palette().color(QPalette::Text), QColor(251, 165, 0));
    QCOMPARE(brightness->curve()->keyCount(), 2);
    QCOMPARE(brightness->curve()->keyFrames(), QList<int>({0, 30}));
    QCOMPARE(brightness->value(), 0.25f);
    QCOMPARE(edited.count(), 1);
    view.setModel(nullptr);
    container->release();
}

void TestAttributesPanel::propertyListRows()
{
    QListWidget list;
    list.setUniformItemSizes(false);
    auto* delegate = new TSInterfaceEditorAttributeItemDelegate(&list);
    list.setItemDelegate(delegate);
    auto* position = new QListWidgetItem("Position X", &list);
    position->setForeground(QColor(250, 60, 60));
    auto* small = new QListWidgetItem("Scale Y", &list);
    small->setData(Qt::UserRole, 1);
    list.resize(200, 100);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const double s = ScreenScale::of(&list);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.widget = &list;
    QCOMPARE(delegate->sizeHint(option, list.model()->index(0, 0)), QSize(100, qRound(25 * s)));
    QCOMPARE(delegate->sizeHint(option, list.model()->index(1, 0)), QSize(100, qRound(21 * s)));
    // In a narrow list a row is as wide as the list, so no scroll bar comes.
    list.setFixedWidth(60);
    QTRY_VERIFY(list.viewport()->width() < 60);
    QCOMPARE(delegate->sizeHint(option, list.model()->index(0, 0)).width(), list.viewport()->width());

    QImage image(200, qRound(25 * s), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    option.rect = image.rect();
    delegate->paint(&painter, option, list.model()->index(0, 0));
    painter.end();
    const int middle = image.height() / 2;
    // The marker in the row's colour, the band beside it, and nothing outside the band.
    QCOMPARE(image.pixelColor(qRound(8 * s), middle), QColor(250, 60, 60));
    QCOMPARE(image.pixelColor(qRound(12 * s), middle), TSInterfaceEditorAttributeItemDelegate::kBandColor);
    QCOMPARE(image.pixelColor(100, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, middle - qRound(9 * s)),
             TSInterfaceEditorAttributeItemDelegate::kBandColor);

    // A name too long for its row keeps its first letters and its last word, so the rows of a
    // narrow list still tell "Position X" from "Position Y" and "Rotation" from both.
    const QFontMetrics metrics(list.font());
    const auto shown = [&metrics](const QString& name, int width) {
        return TSInterfaceEditorAttributeItemDelegate::shownName(name, metrics, width);
    };
    QCOMPARE(shown("Position X", metrics.horizontalAdvance("Position X")), QString("Position X"));
    QCOMPARE(shown("Position X", metrics.horizontalAdvance("Pos. X")), QString("Pos. X"));
    QCOMPARE(shown("Rotation", metrics.horizontalAdvance("Rot.")), QString("Rot."));
    QCOMPARE(shown("Scale Y", metrics.horizontalAdvance("Scale Y")), QString("Scale Y"));
    const QString tight = shown("Position X", metrics.horizontalAdvance("Pos. X") - 1);
    QVERIFY2(tight.contains(QChar(0x2026)) && metrics.horizontalAdvance(tight) < metrics.horizontalAdvance("Pos. X"),
             qPrintable(tight));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestAttributesPanel)
#include "tst_AttributesPanel.moc"
