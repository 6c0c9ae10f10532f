#pragma once

#include "TSAttributeWidget.h"

#include <QList>

class TSPAttributeGroup;

/// A group: a section with a header and a row for each of its children; the children's
/// finished edits come out of the group.
class TSAttributeWidgetGroup : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetGroup(TSPAttributeGroup* attribute, QWidget* parent);

    /// The rows of the children (the panel leaves some attributes out).
    const QList<TSAttributeWidget*>& childRows() const { return m_children; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;
    std::unique_ptr<TSLayoutBuilder> createLayoutBuilder() const override;

private:
    QList<TSAttributeWidget*> m_children;
};
