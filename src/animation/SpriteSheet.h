#pragma once

#include <QSize>
#include <QString>

/// Packs the PNG files of one folder into a single texture atlas for a game: the atlas image
/// "<base>.png" and its sprite-frame property list "<base>.plist", each frame keyed by its file
/// name. The images are trimmed and placed as the document's atlases are; the atlas is the
/// smallest power-of-two size, from 128 up to 4096 a side, that takes them all (smallest area
/// first, then the squarer, then the wider).
class SpriteSheet
{
public:
    enum class Failure
    {
        None,
        NoImages,        ///< the folder is missing or holds no PNG file
        UnreadableImage, ///< a PNG file cannot be read
        TooLarge,        ///< the images do not fit into the largest atlas
        WriteFailed,     ///< an output file cannot be written
    };

    struct Result
    {
        Failure failure = Failure::None;
        QString error; ///< what went wrong, as a sentence; empty on success
        int sprites = 0;
        QSize size;
        QString imagePath;
        QString plistPath;
        bool ok() const { return failure == Failure::None; }
    };

    static constexpr int kSmallestSide = 128;
    static constexpr int kLargestSide = 4096;

    /// Packs every "*.png" directly in folder, in file-name order. A trailing ".png" or ".plist"
    /// on base is dropped; missing folders on the way to it are made. Nothing is written unless
    /// every image was read and placed.
    static Result pack(const QString& folder, const QString& base);
};
