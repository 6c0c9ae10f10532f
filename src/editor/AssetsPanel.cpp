#include "AssetsPanel.h"

#include "ScreenScale.h"
#include "TSAssetsFrame.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

AssetsPanel::AssetsPanel(QWidget* parent) : QWidget(parent), m_frame(new TSAssetsFrame(this))
{
    setObjectName(QStringLiteral("assetsBackground"));
    setFixedWidth(ScreenScale::pixels(190, this));
    auto* search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("searchWidget"));
    search->setPlaceholderText(QStringLiteral("Search tags"));
    search->setClearButtonEnabled(true);
    auto* importButton = new QToolButton(this);
    importButton->setObjectName(QStringLiteral("importAssetsButton"));
    importButton->setText(QStringLiteral("Import Assets"));
    importButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    importButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    const int margin = ScreenScale::pixels(8, this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(search);
    layout->addWidget(m_frame, 1);
    layout->addWidget(importButton);
    connect(search, &QLineEdit::textChanged, m_frame, qOverload<const QString&>(&TSAssetsFrame::search));
    connect(importButton, &QToolButton::clicked, m_frame, &TSAssetsFrame::importFiles);
}
