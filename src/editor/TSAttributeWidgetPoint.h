#pragma once

#include "TSAttributeWidget.h"

class TSPAttributePoint;

/// A point: x and y line edits side by side; animated like a number when both coordinates are
/// driven by curves.
class TSAttributeWidgetPoint : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetPoint(TSPAttributePoint* attribute, QWidget* parent);

    QLineEdit* xEdit() const { return m_x; }
    QLineEdit* yEdit() const { return m_y; }
    int columnCount() const override { return 2; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;
    std::unique_ptr<TSLayoutBuilder> createLayoutBuilder() const override;

public Q_SLOTS:
    void attributeEditingRequest();
    void showContextMenu(QPoint pos);

private:
    void setKeyFrame();

    TSPAttributePoint* m_point;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
};
