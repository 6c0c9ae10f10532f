#pragma once

#include "TSAttributeWidget.h"

class TSPAttributeFloat;

/// A number: a line edit (and, for the editor hint 1, a second column of 50 pixels for the
/// variable value). An animated number is coloured by its keyed state, and its context menu
/// sets a key.
class TSAttributeWidgetFloat : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetFloat(TSPAttributeFloat* attribute, QWidget* parent);

    QLineEdit* valueEdit() const { return m_value; }
    int columnCount() const override;
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void attributeEditingRequest();
    void showContextMenu(QPoint pos);

private:
    void setKeyFrame();

    TSPAttributeFloat* m_float;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_variable = nullptr;
};
