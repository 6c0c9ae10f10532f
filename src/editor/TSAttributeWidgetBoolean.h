#pragma once

#include "TSAttributeWidget.h"

class QCheckBox;
class TSPAttributeBoolean;

/// A flag: a check box; toggling it is the edit.
class TSAttributeWidgetBoolean : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetBoolean(TSPAttributeBoolean* attribute, QWidget* parent);

    QCheckBox* checkBox() const { return m_check; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void checkboxWidgetToggled(bool value);

private:
    TSPAttributeBoolean* m_boolean;
    QCheckBox* m_check = nullptr;
};
