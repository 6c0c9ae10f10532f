#pragma once

#include <QHash>
#include <QList>
#include <QWidget>

namespace cocos2d {
class CCArray;
}

class TSAttributeWidget;
class TSPAttribute;

/// The attributes panel: a column with a row per attribute of a model (its attribute list),
/// each edited by the widget of the attribute's kind, closed by a spacer. It writes finished
/// edits into the attributes and reports them; whoever shows it applies and records them.
class TSAttributesView : public QWidget
{
    Q_OBJECT

public:
    explicit TSAttributesView(QWidget* parent = nullptr);

    /// Builds the rows for an attribute list (not owned, kept while shown); null clears.
    void setModel(cocos2d::CCArray* attributes);
    cocos2d::CCArray* model() const { return m_attributes; }
    /// The row of an attribute (also of a group's child), or null.
    TSAttributeWidget* widgetFor(const TSPAttribute* attribute) const { return m_widgets.value(attribute); }
    /// The rows at the top of the column, in order.
    QList<TSAttributeWidget*> rows() const;
    /// Every row re-reads its attribute.
    void refresh();

Q_SIGNALS:
    void editingFinished(TSAttributeWidget* attrribute);
    void attributeEditingFinished(TSPAttribute* attrribute);

public Q_SLOTS:
    void attributeEditingFinished(TSAttributeWidget* widget);

private Q_SLOTS:
    void onAttributeChanged(TSPAttribute* attribute);

private:
    void clear();
    void enter(TSAttributeWidget* widget);

    cocos2d::CCArray* m_attributes = nullptr;
    QHash<const TSPAttribute*, TSAttributeWidget*> m_widgets;
};
