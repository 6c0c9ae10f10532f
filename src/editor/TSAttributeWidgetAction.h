#pragma once

#include "TSAttributeWidget.h"

class QPushButton;
class TSPAttributeAction;

/// An action: a button that calls the attribute's callback with its model.
class TSAttributeWidgetAction : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetAction(TSPAttributeAction* attribute, QWidget* parent);

    QPushButton* button() const { return m_button; }
    void buildEditor(int column, QBoxLayout* layout) override;

public Q_SLOTS:
    void actionClicked();

private:
    TSPAttributeAction* m_action;
    QPushButton* m_button = nullptr;
};
