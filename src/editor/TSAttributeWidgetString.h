#pragma once

#include "TSAttributeWidget.h"

class TSPAttributeString;

/// A text: a line edit.
class TSAttributeWidgetString : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetString(TSPAttributeString* attribute, QWidget* parent);

    QLineEdit* edit() const { return m_edit; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void attributeEditingRequest();

private:
    TSPAttributeString* m_string;
    QLineEdit* m_edit = nullptr;
};
