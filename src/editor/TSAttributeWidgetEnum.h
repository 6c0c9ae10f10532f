#pragma once

#include "TSAttributeWidget.h"

class QComboBox;
class TSPAttributeEnum;

/// A choice: a combo box of the options (the option dictionary's keys, in its order); choosing
/// one is the edit.
class TSAttributeWidgetEnum : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetEnum(TSPAttributeEnum* attribute, QWidget* parent);

    QComboBox* comboBox() const { return m_combo; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void attributeEditingRequest();

private:
    TSPAttributeEnum* m_enum;
    QComboBox* m_combo = nullptr;
};
