#include "TSAttributeWidgetColor.h"

#include "TSPAttributeColor.h"

#include <QBoxLayout>
#include <QColorDialog>
#include <QPushButton>

TSAttributeWidgetColor::TSAttributeWidgetColor(TSPAttributeColor* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_color(attribute)
{
}

void TSAttributeWidgetColor::buildEditor(int, QBoxLayout* layout)
{
    m_swatch = new QPushButton(this);
    m_swatch->setObjectName(QStringLiteral("colorSwatch"));
    m_swatch->setToolTip(QStringLiteral("Pick a colour"));
    watchEditor(m_swatch);
    connect(m_swatch, &QPushButton::clicked, this, &TSAttributeWidgetColor::pickColor);
    layout->addWidget(m_swatch, 1);
}

void TSAttributeWidgetColor::refresh()
{
    TSAttributeWidget::refresh();
    if (m_swatch) {
        m_swatch->setStyleSheet(
            QStringLiteral("#colorSwatch { background: %1; }").arg(m_color->color().name(QColor::HexArgb)));
    }
}

void TSAttributeWidgetColor::pickColor()
{
    if (!m_dialog) {
        m_dialog = new QColorDialog(m_color->color(), this);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog->setOption(QColorDialog::ShowAlphaChannel);
        connect(m_dialog, &QColorDialog::colorSelected, this,
                &TSAttributeWidgetColor::editorWidgetSelectedColorChanged);
    }
    m_dialog->open();
}

void TSAttributeWidgetColor::editorWidgetSelectedColorChanged(QColor color)
{
    if (!color.isValid() || color == m_color->color()) {
        return;
    }
    m_color->setColor(color);
    refresh();
    attributeEditingFinished();
}
