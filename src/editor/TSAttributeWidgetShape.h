#pragma once

#include "TSAttributeWidget.h"

class QPushButton;

/// A collision shape: a flat "Edit" button asking for the shape editor.
class TSAttributeWidgetShape : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetShape(TSPAttribute* attribute, QWidget* parent);

    QPushButton* button() const { return m_button; }
    void buildEditor(int column, QBoxLayout* layout) override;

Q_SIGNALS:
    /// Whoever offers a shape editor opens it for attribute.
    void shapeEditingRequested(TSPAttribute* attribute);

private:
    QPushButton* m_button = nullptr;
};
