#include "TSAssetsFrame.h"

#include "ScreenScale.h"
#include "TSAssetsLoader.h"
#include "TSFileDialogs.h"
#include "TSLibraryModelTagged.h"
#include "TSLibraryViewTagged.h"
#include "TSMessageBox.h"

#include <QComboBox>
#include <QDebug>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString& defaultRoot()
{
    static QString folder;
    return folder;
}

QToolButton* makeButton(QWidget* parent, const char* name, const QString& icon, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    // Compact, so the group chooser beside them keeps room for a group's name.
    const int side = ScreenScale::pixels(16, parent);
    button->setIconSize(QSize(side, side));
    button->setFixedSize(QSize(side, side) + QSize(4, 4) * ScreenScale::of(parent));
    return button;
}

} // namespace

void TSAssetsFrame::setDefaultRoot(const QString& folder)
{
    defaultRoot() = folder;
}

TSAssetsFrame::TSAssetsFrame(QWidget* parent)
    : QWidget(parent), m_groupBox(new QComboBox(this)), m_progress(new QProgressBar(this)),
      m_view(new TSLibraryViewTagged(this)), m_model(new TSLibraryModelTagged(this)),
      m_loader(new TSAssetsLoader(this))
{
    setObjectName(QStringLiteral("assetsFrame"));
    m_groupBox->setObjectName(QStringLiteral("assetsGroupComboBox"));
    auto* addButton =
        makeButton(this, "addGroupButton", QStringLiteral(":/resources/animationView/AE_Add.svg"),
                   QStringLiteral("New group"));
    m_renameButton =
        makeButton(this, "renameGroupButton", QStringLiteral(":/resources/animationView/AE_Rename.svg"),
                   QStringLiteral("Rename group"));
    m_removeButton =
        makeButton(this, "removeGroupButton", QStringLiteral(":/resources/animationView/AE_Delete.svg"),
                   QStringLiteral("Remove group"));
    m_progress->setObjectName(QStringLiteral("assetsProgressBar"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(4);
    m_progress->hide();
    m_view->setObjectName(QStringLiteral("assetsView"));
    m_view->setModel(m_model);

    auto* groupRow = new QHBoxLayout();
    groupRow->setSpacing(0);
    groupRow->addWidget(m_groupBox, 1);
    groupRow->addWidget(addButton);
    groupRow->addWidget(m_renameButton);
    groupRow->addWidget(m_removeButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(groupRow);
    layout->addWidget(m_progress);
    layout->addWidget(m_view, 1);

    connect(addButton, &QToolButton::clicked, this, &TSAssetsFrame::onAddGroupClicked);
    connect(m_renameButton, &QToolButton::clicked, this, &TSAssetsFrame::onDirRename);
    connect(m_removeButton, &QToolButton::clicked, this, &TSAssetsFrame::onDirDelete);
    connect(m_groupBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TSAssetsFrame::updateItemsLibrary);
    connect(this, &TSAssetsFrame::assetsGroupSelected, this,
            [this](int group, QSize size, Qt::AspectRatioMode mode) {
                m_loader->loadGroup(m_groups->indexFile(group), m_groups->rootFolder(group), size, mode);
            });
    connect(m_loader, &TSAssetsLoader::assetsCountChanged, this, &TSAssetsFrame::setAssetsCount);
    connect(m_loader, &TSAssetsLoader::assetLoaded, this, &TSAssetsFrame::addAsset);
    connect(m_loader, &TSAssetsLoader::groupLoaded, this, &TSAssetsFrame::hideProgressBar);
    setElementsType(m_elementsType);
}

void TSAssetsFrame::setElementsType(const QString& type)
{
    m_elementsType = type;
    const bool images = type == QLatin1String("assets");
    const QString root = defaultRoot().isEmpty() ? TSAssetGroups::defaultRootFolder() : defaultRoot();
    m_groups = std::make_unique<TSAssetGroups>(
        root, images ? TSAssetGroups::defaultGroupNames() : QStringList(), TSAssetGroups::ownRootFolder(),
        images ? QStringLiteral("categories") : QStringLiteral("categories-shapes"));
    fillGroups(QString());
}

void TSAssetsFrame::fillGroups(const QString& current)
{
    {
        const QSignalBlocker blocker(m_groupBox);
        m_groupBox->clear();
        const QStringList names = m_groups->names();
        for (int i = 0; i < names.size(); ++i) {
            m_groupBox->addItem(names.at(i), i);
        }
        m_groupBox->setCurrentIndex(qMax(0, m_groups->indexOf(current)));
    }
    updateItemsLibrary(m_groupBox->currentIndex());
}

void TSAssetsFrame::updateButtons()
{
    const bool own = !isSelectedGroupDefault() && m_groupBox->currentIndex() >= 0;
    m_renameButton->setEnabled(own);
    m_removeButton->setEnabled(own);
}

bool TSAssetsFrame::isSelectedGroupDefault() const
{
    return m_groups->isDefault(m_groupBox->currentIndex());
}

QString TSAssetsFrame::currentGroupDir() const
{
    return m_groups->rootFolder(m_groupBox->currentIndex());
}

QString TSAssetsFrame::currentGroupFolder() const
{
    return m_groups->folder(m_groupBox->currentIndex());
}

QString TSAssetsFrame::createNewGroup()
{
    const QString name = m_groups->createGroup();
    fillGroups(name);
    return name;
}

void TSAssetsFrame::onAddGroupClicked()
{
    createNewGroup();
}

void TSAssetsFrame::switchToGroup(const QString& group)
{
    const int index = m_groups->indexOf(group);
    if (index >= 0) {
        m_groupBox->setCurrentIndex(index);
    }
}

void TSAssetsFrame::renameGroup(const QString& oldName, const QString& newName)
{
    if (m_groups->rename(oldName, newName)) {
        const QSignalBlocker blocker(m_groupBox);
        m_groupBox->setItemText(m_groups->indexOf(newName.trimmed()), newName.trimmed());
        // The paths of the shown images changed with the folder.
        updateItemsLibrary(m_groupBox->currentIndex());
    }
}

void TSAssetsFrame::removeGroup(const QString& name)
{
    const QString current = m_groupBox->currentText();
    if (m_groups->remove(name)) {
        fillGroups(current == name ? QString() : current);
    }
}

void TSAssetsFrame::onDirRename()
{
    const QString oldName = m_groupBox->currentText();
    bool ok = false;
    const QString newName = QInputDialog::getText(this, QStringLiteral("Category Name"),
                                                  QStringLiteral("Name:"), QLineEdit::Normal, oldName, &ok);
    if (ok && newName != oldName) {
        renameGroup(oldName, newName);
    }
}

void TSAssetsFrame::onDirDelete()
{
    const QString name = m_groupBox->currentText();
    if (TSMessageBox::question(this, QStringLiteral("Remove Group"),
                               QStringLiteral("Remove the group \"%1\" and its images?").arg(name),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes) {
        removeGroup(name);
    }
}

void TSAssetsFrame::importFiles()
{
    const QStringList files = TSFileDialogs::getOpenFileNames(this, QStringLiteral("Import Assets"),
                                                              QString(), QStringLiteral("Images (*.png)"));
    QList<QUrl> urls;
    for (const QString& file : files) {
        urls << QUrl::fromLocalFile(file);
    }
    if (!urls.isEmpty()) {
        addGroupFiles(urls);
    }
}

void TSAssetsFrame::addGroupFiles(const QList<QUrl>& urls)
{
    if (isSelectedGroupDefault() || m_groupBox->currentIndex() < 0) {
        createNewGroup();
    }
    QStringList files;
    for (const QUrl& url : urls) {
        files << url.toLocalFile();
    }
    m_groups->importFiles(m_groupBox->currentIndex(), files);
    updateItemsLibrary(m_groupBox->currentIndex());
}

void TSAssetsFrame::updateItemsLibrary(int group)
{
    updateButtons();
    m_model->clear();
    if (group >= 0) {
        Q_EMIT assetsGroupSelected(group, TSLibraryViewTagged::thumbnailSize(), Qt::KeepAspectRatio);
    }
}

void TSAssetsFrame::setAssetsCount(int count)
{
    m_progress->setRange(0, qMax(count, 1));
    m_progress->setValue(0);
    m_progress->setVisible(count > 0);
}

void TSAssetsFrame::addAsset(const TSIconAsset& asset)
{
    m_model->addAsset(asset);
    m_progress->setValue(m_model->assetCount());
}

void TSAssetsFrame::hideProgressBar()
{
    m_progress->hide();
}

void TSAssetsFrame::search(const QString& request)
{
    m_request = request;
    search();
}

void TSAssetsFrame::search()
{
    m_model->search(m_request);
}
