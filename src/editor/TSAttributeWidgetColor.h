#pragma once

#include "TSAttributeWidget.h"

#include <QPointer>

class QColorDialog;
class QPushButton;
class TSPAttributeColor;

/// A colour: a swatch button that opens a colour picker; the picked colour is the edit.
class TSAttributeWidgetColor : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetColor(TSPAttributeColor* attribute, QWidget* parent);

    QPushButton* swatch() const { return m_swatch; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void editorWidgetSelectedColorChanged(QColor color);

private:
    void pickColor();

    TSPAttributeColor* m_color;
    QPushButton* m_swatch = nullptr;
    QPointer<QColorDialog> m_dialog;
};
