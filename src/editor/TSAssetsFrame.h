#pragma once

#include "TSAssetGroups.h"
#include "TSIconAsset.h"

#include <QUrl>
#include <QWidget>

#include <memory>

class QComboBox;
class QProgressBar;
class QToolButton;
class TSAssetsLoader;
class TSLibraryModelTagged;
class TSLibraryViewTagged;

/// The asset library panel: a group picker with buttons to add, rename and remove own groups,
/// the thumbnails of the current group (loaded in the background) and a progress bar while they
/// come. Everything that touches the disk is done by TSAssetGroups and TSAssetsLoader.
class TSAssetsFrame : public QWidget
{
    Q_OBJECT

public:
    explicit TSAssetsFrame(QWidget* parent = nullptr);

    /// Where tests and the shipped program keep the default groups; set before construction.
    static void setDefaultRoot(const QString& folder);

    bool isSelectedGroupDefault() const;
    QString currentGroupDir() const;
    QString currentGroupFolder() const;
    QString elementsType() const { return m_elementsType; }
    QStringList supportedFormats() const { return m_formats; }
    TSAssetsLoader* loader() const { return m_loader; }
    TSLibraryViewTagged* view() const { return m_view; }

public Q_SLOTS:
    /// A new own group "Untitled N", made current; returns its name.
    QString createNewGroup();
    void switchToGroup(const QString& group);
    void renameGroup(const QString& oldName, const QString& newName);
    void removeGroup(const QString& name);
    /// Copies the files into the current own group (a new one when a default group is shown).
    void addGroupFiles(const QList<QUrl>& urls);
    /// Asks for PNG files and imports them.
    void importFiles();
    void setAssetsCount(int count);
    void addAsset(const TSIconAsset& asset);
    void hideProgressBar();
    void search(const QString& request);
    void search();
    /// "assets" keeps the own groups under "categories", any other type under "categories-shapes".
    void setElementsType(const QString& type);
    void setSupportedFormats(const QStringList& list) { m_formats = list; }

Q_SIGNALS:
    void assetsGroupSelected(int group, QSize size, Qt::AspectRatioMode scaleMode);

private Q_SLOTS:
    void onAddGroupClicked();
    void updateItemsLibrary(int group);
    void onDirRename();
    void onDirDelete();

private:
    void fillGroups(const QString& current);
    void updateButtons();

    std::unique_ptr<TSAssetGroups> m_groups;
    QString m_elementsType = QStringLiteral("assets");
    QStringList m_formats = {QStringLiteral("png")};
    QString m_request;
    QComboBox* m_groupBox = nullptr;
    QToolButton* m_renameButton = nullptr;
    QToolButton* m_removeButton = nullptr;
    QProgressBar* m_progress = nullptr;
    TSLibraryViewTagged* m_view = nullptr;
    TSLibraryModelTagged* m_model = nullptr;
    TSAssetsLoader* m_loader = nullptr;
};
