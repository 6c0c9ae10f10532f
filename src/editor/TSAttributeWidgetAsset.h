#pragma once

#include "TSAttributeWidget.h"

class QLabel;
class TSPAttributeAsset;

/// An asset reference: the asset's name, or "None".
class TSAttributeWidgetAsset : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetAsset(TSPAttributeAsset* attribute, QWidget* parent);

    QLabel* label() const { return m_label; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

private:
    TSPAttributeAsset* m_asset;
    QLabel* m_label = nullptr;
};
