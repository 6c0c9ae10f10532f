#include "TSWelcomeWindow.h"

#include "AppInfo.h"
#include "SkeletonJson.h"
#include "StartupSignal.h"
#include "TSApplicationSettings.h"
#include "TemplateLibrary.h"
#include "TemplateStage.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: rgb(220, 220, 220);"));
    return label;
}

} // namespace

TSWelcomeWindow::TSWelcomeWindow(const QString& projectsFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_projectsFolder(projectsFolder)
{
    setObjectName(QStringLiteral("welcomeWindow"));
    setWindowTitle(QStringLiteral("Welcome to ") + appInfo(AppInfo::AppName));
    setWindowIcon(QIcon(appInfo(AppInfo::IconPath)));
    resize(900, 560);
    setStyleSheet(QStringLiteral(
        "#welcomeWindow { background: rgb(30, 30, 30); }"
        "QPushButton#newButton, QPushButton#openButton { text-align: left; padding: 10px 14px; font-size: 11pt;"
        "  border: 1px solid rgb(60, 60, 60); border-radius: 6px; background: rgb(44, 44, 44); color: rgb(220, 220, 220); }"
        "QPushButton#newButton { background: rgb(242, 197, 90); color: rgb(49, 49, 49); border-color: rgb(242, 197, 90); }"
        "QPushButton#openButton:hover { background: rgb(56, 56, 56); }"
        "QListWidget { background: rgb(36, 36, 36); border: 1px solid rgb(50, 50, 50); border-radius: 6px; }"
        "QListWidget::item { padding: 6px; color: rgb(180, 180, 180); }"
        "QListWidget::item:selected { background: rgb(242, 197, 90); color: rgb(49, 49, 49); }"
        "QToolButton.templateCard { background: rgb(38, 38, 38); border: 1px solid rgb(54, 54, 54); border-radius: 8px;"
        "  color: rgb(200, 200, 200); padding: 8px; }"
        "QToolButton.templateCard:hover { border-color: rgb(242, 197, 90); }"));

    auto* logo = new QLabel(this);
    logo->setPixmap(QIcon(appInfo(AppInfo::IconPath)).pixmap(56, 56));
    auto* title = new QLabel(appInfo(AppInfo::AppName), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.0);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: rgb(230, 230, 230);"));
    auto* subtitle = new QLabel(QStringLiteral("2D skeletal animation · version ") + appInfo(AppInfo::Version), this);
    subtitle->setStyleSheet(QStringLiteral("color: rgb(140, 140, 140);"));
    auto* titles = new QVBoxLayout();
    titles->setSpacing(0);
    titles->addWidget(title);
    titles->addWidget(subtitle);
    auto* header = new QHBoxLayout();
    header->addWidget(logo);
    header->addSpacing(10);
    header->addLayout(titles);
    header->addStretch();

    auto* newButton = new QPushButton(QStringLiteral("Create New"), this);
    newButton->setObjectName(QStringLiteral("newButton"));
    newButton->setCursor(Qt::PointingHandCursor);
    auto* openButton = new QPushButton(QStringLiteral("Open project"), this);
    openButton->setObjectName(QStringLiteral("openButton"));
    openButton->setCursor(Qt::PointingHandCursor);
    m_recent = new QListWidget(this);
    m_recent->setObjectName(QStringLiteral("recentList"));
    auto* left = new QVBoxLayout();
    left->addWidget(newButton);
    left->addWidget(openButton);
    left->addSpacing(14);
    left->addWidget(heading(QStringLiteral("Recent documents"), this));
    left->addWidget(m_recent, 1);

    m_templates = new QGridLayout();
    m_templates->setSpacing(14);
    auto* right = new QVBoxLayout();
    right->addWidget(heading(QStringLiteral("Start from a template"), this));
    right->addLayout(m_templates);
    right->addStretch();

    auto* columns = new QHBoxLayout();
    columns->setSpacing(28);
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->setSpacing(20);
    layout->addLayout(header);
    layout->addLayout(columns, 1);

    connect(newButton, &QPushButton::clicked, this, &TSWelcomeWindow::newFileRequested);
    connect(openButton, &QPushButton::clicked, this, &TSWelcomeWindow::openRequested);
    connect(m_recent, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        Q_EMIT loadFromFileRequested(item->data(Qt::UserRole).toString(), false);
    });
    connect(m_recent, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Q_EMIT loadFromFileRequested(item->data(Qt::UserRole).toString(), false);
    });
    fillTemplates();
    drawPreviews();
    refreshRecentFiles();
}

void TSWelcomeWindow::refreshRecentFiles()
{
    m_recent->clear();
    for (const QString& path : TSApplicationSettings::instance()->existingRecentFiles()) {
        auto* item = new QListWidgetItem(QFileInfo(path).completeBaseName() + QStringLiteral("\n") +
                                             QDir::toNativeSeparators(QFileInfo(path).path()),
                                         m_recent);
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
    }
    if (m_recent->count() == 0) {
        auto* item = new QListWidgetItem(QStringLiteral("No recent documents yet"), m_recent);
        item->setFlags(Qt::NoItemFlags);
    }
}

QToolButton* TSWelcomeWindow::makeTemplateCard(const QString& name, const QString& document)
{
    auto* card = new QToolButton(this);
    card->setProperty("class", QStringLiteral("templateCard"));
    card->setObjectName(QStringLiteral("template_") + QFileInfo(document).completeBaseName());
    card->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    card->setIconSize(QSize(150, 150));
    card->setText(name);
    card->setCursor(Qt::PointingHandCursor);
    card->setToolTip(QStringLiteral("Open the %1 template").arg(name));
    connect(card, &QToolButton::clicked, this,
            [this, name, document] { Q_EMIT openTemplateRequested(name, document); });
    return card;
}

void TSWelcomeWindow::fillTemplates()
{
    int index = 0;
    for (const TemplateLibrary::Template& entry : TemplateLibrary::listTemplates()) {
        const QString document = m_projectsFolder + entry.first + QStringLiteral(".bsdoc");
        if (!QFileInfo::exists(document)) {
            continue;
        }
        QToolButton* card = makeTemplateCard(entry.second, document);
        m_cards.append({card, entry.first});
        m_templates->addWidget(card, index / 3, index % 3);
        ++index;
    }
    if (index == 0) {
        auto* none = new QLabel(QStringLiteral("No templates are installed."), this);
        none->setStyleSheet(QStringLiteral("color: rgb(140, 140, 140);"));
        m_templates->addWidget(none, 0, 0);
    }
}

void TSWelcomeWindow::drawPreviews()
{
    const qreal ratio = devicePixelRatioF();
    if (ratio == m_previewRatio) {
        return;
    }
    m_previewRatio = ratio;
    for (const auto& [card, folder] : m_cards) {
        // Drawn from the template at the screen's pixel ratio; the shipped picture is the fallback.
        const QImage preview = TemplateStage::preview(folder, card->iconSize(), ratio, Qt::transparent);
        card->setIcon(preview.isNull() ? QIcon(m_projectsFolder + folder + QStringLiteral(".png"))
                                       : QIcon(QPixmap::fromImage(preview)));
    }
}

void TSWelcomeWindow::showEvent(QShowEvent* event)
{
    // The window may open on a screen with another pixel ratio than the one it was made for.
    drawPreviews();
    QWidget::showEvent(event);
    signalStartupComplete();
}

void TSWelcomeWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT closed();
    QWidget::closeEvent(event);
}
