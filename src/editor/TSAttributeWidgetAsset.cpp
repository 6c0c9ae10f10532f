#include "TSAttributeWidgetAsset.h"

#include "TSModel.h"
#include "TSPAttributeAsset.h"

#include <QBoxLayout>
#include <QLabel>

TSAttributeWidgetAsset::TSAttributeWidgetAsset(TSPAttributeAsset* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_asset(attribute)
{
}

void TSAttributeWidgetAsset::buildEditor(int, QBoxLayout* layout)
{
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("assetName"));
    layout->addWidget(m_label, 1);
}

void TSAttributeWidgetAsset::refresh()
{
    TSAttributeWidget::refresh();
    if (m_label) {
        const TSModel* asset = m_asset->asset();
        m_label->setText(asset ? QString::fromStdString(asset->name()) : QStringLiteral("None"));
    }
}
