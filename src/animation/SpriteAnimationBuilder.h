#pragma once

#include <QString>
#include <QStringList>

class TSModelSpriteContainer;

/// Makes a frame animation out of PNG files: one trimmed sprite per file, in name order, packed
/// into the document's texture atlases, in one new sprite container. Either everything is made
/// (models in the controller, frame and atlas files in the working folder) or nothing is: any
/// file that is not a readable PNG, a frame too large for an atlas, too many files or a failed
/// write leaves the document as it was and says why.
class SpriteAnimationBuilder
{
public:
    /// The most frames one animation is made of at once.
    static constexpr int kMaxFrames = 1000;
    /// The largest kept (trimmed) side of a frame: it must fit, with the padding, into a new
    /// texture atlas.
    static constexpr int kMaxFrameSide = 2048 - 4;

    /// paths ordered by file name, numbers by their value ("walk_2" before "walk_10").
    static QStringList inNameOrder(const QStringList& paths);

    /// The new container, named after the first file in name order; null with a sentence
    /// saying why in error.
    static TSModelSpriteContainer* build(const QStringList& paths, QString* error);
};
