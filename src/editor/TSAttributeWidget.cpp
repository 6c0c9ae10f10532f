#include "TSAttributeWidget.h"

#include "HistoryKeyFilter.h"
#include "TSAnimationCurve.h"
#include "TSAttributeWidgetAction.h"
#include "TSAttributeWidgetAnimation.h"
#include "TSAttributeWidgetAsset.h"
#include "TSAttributeWidgetBoolean.h"
#include "TSAttributeWidgetColor.h"
#include "TSAttributeWidgetEnum.h"
#include "TSAttributeWidgetFloat.h"
#include "TSAttributeWidgetGroup.h"
#include "TSAttributeWidgetKey.h"
#include "TSAttributeWidgetPoint.h"
#include "TSAttributeWidgetShape.h"
#include "TSAttributeWidgetSprite.h"
#include "TSAttributeWidgetString.h"
#include "TSLayoutBuilder.h"
#include "TSModel.h"
#include "TSPAttribute.h"
#include "TSPAttributeAction.h"
#include "TSPAttributeAnimation.h"
#include "TSPAttributeAsset.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeColor.h"
#include "TSPAttributeEnum.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeGroup.h"
#include "TSPAttributeKey.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeSprite.h"
#include "TSPAttributeString.h"

#include <QLineEdit>
#include <QMenu>

const QColor TSAttributeWidget::kKeyedColor(251, 165, 0);
const QColor TSAttributeWidget::kAnimatedColor(55, 235, 138);

TSAttributeWidget::TSAttributeWidget(TSPAttribute* attribute, QWidget* parent)
    : QWidget(parent), m_attribute(attribute)
{
    setObjectName(QString::fromStdString(attribute->name()));
}

bool TSAttributeWidget::isExcluded(const TSPAttribute* attribute)
{
    return !attribute || attribute->creationFlag() || attribute->isFollowing();
}

TSAttributeWidget* TSAttributeWidget::create(TSPAttribute* attribute, QWidget* parent)
{
    if (isExcluded(attribute)) {
        return nullptr;
    }
    TSAttributeWidget* widget = nullptr;
    switch (attribute->typeCode()) {
    case TSPAttribute::Float:
        widget = new TSAttributeWidgetFloat(static_cast<TSPAttributeFloat*>(attribute), parent);
        break;
    case TSPAttribute::Point:
        widget = new TSAttributeWidgetPoint(static_cast<TSPAttributePoint*>(attribute), parent);
        break;
    case TSPAttribute::Sprite:
        widget = new TSAttributeWidgetSprite(static_cast<TSPAttributeSprite*>(attribute), parent);
        break;
    case TSPAttribute::Action:
        widget = new TSAttributeWidgetAction(static_cast<TSPAttributeAction*>(attribute), parent);
        break;
    case TSPAttribute::String:
        widget = new TSAttributeWidgetString(static_cast<TSPAttributeString*>(attribute), parent);
        break;
    case TSPAttribute::Enum:
        widget = new TSAttributeWidgetEnum(static_cast<TSPAttributeEnum*>(attribute), parent);
        break;
    case TSPAttribute::Shape:
        widget = new TSAttributeWidgetShape(attribute, parent);
        break;
    case TSPAttribute::Animation:
        widget = new TSAttributeWidgetAnimation(static_cast<TSPAttributeAnimation*>(attribute), parent);
        break;
    case TSPAttribute::Asset:
        widget = new TSAttributeWidgetAsset(static_cast<TSPAttributeAsset*>(attribute), parent);
        break;
    case TSPAttribute::Group:
        widget = new TSAttributeWidgetGroup(static_cast<TSPAttributeGroup*>(attribute), parent);
        break;
    case TSPAttribute::Color:
        widget = new TSAttributeWidgetColor(static_cast<TSPAttributeColor*>(attribute), parent);
        break;
    case TSPAttribute::Boolean:
        widget = new TSAttributeWidgetBoolean(static_cast<TSPAttributeBoolean*>(attribute), parent);
        break;
    case TSPAttribute::Key:
        widget = new TSAttributeWidgetKey(static_cast<TSPAttributeKey*>(attribute), parent);
        break;
    default:
        // Paths, sounds and unknown kinds have no editor.
        return nullptr;
    }
    widget->build();
    widget->refresh();
    return widget;
}

QString TSAttributeWidget::displayName() const
{
    const std::string& text = m_attribute->layoutText();
    return QString::fromStdString(text.empty() ? m_attribute->name() : text);
}

void TSAttributeWidget::build()
{
    createLayoutBuilder()->build(this);
}

std::unique_ptr<TSLayoutBuilder> TSAttributeWidget::createLayoutBuilder() const
{
    return std::make_unique<TSLayoutBuilder>();
}

void TSAttributeWidget::refresh()
{
    setVisible(m_attribute->isVisible());
}

void TSAttributeWidget::setKeyed(bool keyed)
{
    m_keyed = keyed;
}

void TSAttributeWidget::attributeEditingFinished()
{
    Q_EMIT editingFinished(this);
}

void TSAttributeWidget::attributeEditingFinished(TSAttributeWidget* attribute)
{
    Q_EMIT editingFinished(attribute);
}

void TSAttributeWidget::watchEditor(QWidget* editor)
{
    HistoryKeyFilter::install(editor);
}

void TSAttributeWidget::readKeyedState(std::initializer_list<const TSAnimationCurve*> curves)
{
    const float time = m_attribute->owner() ? m_attribute->owner()->evaluationPosition() : 0.0f;
    m_animated = curves.size() > 0;
    bool keyed = m_animated;
    for (const TSAnimationCurve* curve : curves) {
        m_animated = m_animated && curve;
        keyed = keyed && curve && curve->findKey(time, true) >= 0;
    }
    setKeyed(m_animated && keyed);
}

void TSAttributeWidget::paintKeyedState(QLineEdit* edit) const
{
    QPalette palette = edit->palette();
    if (m_animated) {
        palette.setColor(QPalette::Text, m_keyed ? kKeyedColor : kAnimatedColor);
    } else {
        palette.setColor(QPalette::Text, QWidget::palette().color(QPalette::Text));
    }
    edit->setPalette(palette);
}

QLineEdit* TSAttributeWidget::lineEdit(const QString& objectName, std::function<void()> done)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    watchEditor(edit);
    connect(edit, &QLineEdit::editingFinished, this, [edit, done] {
        // Leaving a field that was not typed into is no edit.
        if (edit->isModified()) {
            edit->setModified(false);
            done();
        }
    });
    return edit;
}

void TSAttributeWidget::popupKeyFrameMenu(QWidget* editor, const QPoint& pos, std::function<void()> setKey)
{
    auto* menu = new QMenu(editor);
    menu->setObjectName(QStringLiteral("keyFrameMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* action = menu->addAction(QStringLiteral("Set Key Frame"));
    action->setObjectName(QStringLiteral("setKeyFrameAction"));
    connect(action, &QAction::triggered, this, std::move(setKey));
    menu->popup(editor->mapToGlobal(pos));
}
