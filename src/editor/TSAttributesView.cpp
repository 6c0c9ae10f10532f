#include "TSAttributesView.h"

#include "CCArray.h"
#include "TSAttributeWidget.h"
#include "TSAttributeWidgetGroup.h"
#include "TSPAttribute.h"

#include <QVBoxLayout>
#include <QVariant>

TSAttributesView::TSAttributesView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("attributesView"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setProperty("firstAttribute", false);
    setProperty("firstAttributeInvisible", false);
}

void TSAttributesView::clear()
{
    m_widgets.clear();
    while (QLayoutItem* item = layout()->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void TSAttributesView::enter(TSAttributeWidget* widget)
{
    m_widgets.insert(widget->attribute(), widget);
    if (auto* group = qobject_cast<TSAttributeWidgetGroup*>(widget)) {
        for (TSAttributeWidget* child : group->childRows()) {
            enter(child);
        }
    }
}

void TSAttributesView::setModel(cocos2d::CCArray* attributes)
{
    clear();
    m_attributes = attributes;
    if (!attributes) {
        return;
    }
    auto* column = static_cast<QVBoxLayout*>(layout());
    bool first = true;
    for (cocos2d::CCObject* obj : *attributes) {
        auto* attribute = static_cast<TSPAttribute*>(obj);
        // A group's children have their rows in the group's section.
        if (m_widgets.contains(attribute) || TSAttributeWidget::isExcluded(attribute)) {
            continue;
        }
        if (first && attribute->typeCode() != TSPAttribute::Group) {
            setProperty(attribute->isVisible() ? "firstAttribute" : "firstAttributeInvisible", true);
        }
        TSAttributeWidget* widget = TSAttributeWidget::create(attribute, this);
        if (!widget) {
            continue;
        }
        first = false;
        connect(widget, &TSAttributeWidget::editingFinished, this,
                qOverload<TSAttributeWidget*>(&TSAttributesView::attributeEditingFinished));
        column->addWidget(widget);
        enter(widget);
    }
    setProperty("firstAttribute", false);
    setProperty("firstAttributeInvisible", false);
    column->addSpacerItem(new QSpacerItem(10, 10, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

QList<TSAttributeWidget*> TSAttributesView::rows() const
{
    QList<TSAttributeWidget*> rows;
    for (int i = 0; i < layout()->count(); ++i) {
        if (auto* widget = qobject_cast<TSAttributeWidget*>(layout()->itemAt(i)->widget())) {
            rows.append(widget);
        }
    }
    return rows;
}

void TSAttributesView::refresh()
{
    for (TSAttributeWidget* row : rows()) {
        row->refresh();
    }
}

void TSAttributesView::attributeEditingFinished(TSAttributeWidget* widget)
{
    Q_EMIT editingFinished(widget);
    Q_EMIT attributeEditingFinished(widget->attribute());
    onAttributeChanged(widget->attribute());
}

void TSAttributesView::onAttributeChanged(TSPAttribute* attribute)
{
    if (TSAttributeWidget* widget = m_widgets.value(attribute)) {
        widget->refresh();
    }
}
