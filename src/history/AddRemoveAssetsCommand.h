#pragma once

#include "HistoryCommand.h"
#include "HistoryManager.h"

#include <memory>
#include <vector>

/// Adding and removing images. While an image is out of the skeleton its record and its very
/// placeholder and visible items live here, taken out of the scene, and go back unchanged.
class AddRemoveAssetsCommand : public HistoryCommand
{
public:
    ~AddRemoveAssetsCommand() override;

protected:
    AddRemoveAssetsCommand(const QString& text, HistoryManager* history);

    struct Stored
    {
        quint64 id = 0;
        bool dummy = false;
        int index = 0;
        std::unique_ptr<Skeleton::Asset> asset;
    };

    /// Takes the stored images out, in order; puts them back in reverse order where they stood.
    void takeOut();
    void putBack();

    HistoryManager* m_history;
    std::vector<Stored> m_stored;
};

/// "add asset" / "add %1 assets".
class AddAssetsCommand : public AddRemoveAssetsCommand
{
public:
    AddAssetsCommand(HistoryManager* history, const QList<HistoryManager::NewImage>& images);
    /// The images once added.
    QList<Skeleton::Asset*> assets() const;

protected:
    void apply() override;
    void revert() override { takeOut(); }

private:
    QList<HistoryManager::NewImage> m_images;
};

/// "delete asset" / "delete %1 assets".
class RemoveAssetsCommand : public AddRemoveAssetsCommand
{
public:
    RemoveAssetsCommand(HistoryManager* history, const QList<Skeleton::Asset*>& assets);

protected:
    void apply() override { takeOut(); }
    void revert() override { putBack(); }
};
