#include "AssetsPanel.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

AssetsPanel::AssetsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("assetsBackground"));
    setFixedWidth(190);
    auto* search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("searchWidget"));
    search->setPlaceholderText(QStringLiteral("Search assets"));
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("assetsFrame"));
    auto* importButton = new QToolButton(this);
    importButton->setObjectName(QStringLiteral("importAssetsButton"));
    importButton->setText(QStringLiteral("Import images..."));
    importButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(search);
    layout->addWidget(frame, 1);
    layout->addWidget(importButton);
}
