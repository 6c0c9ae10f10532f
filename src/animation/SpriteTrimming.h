#pragma once

#include <QImage>
#include <QRect>

/// Where the visible pixels of an image are.
class SpriteTrimming
{
public:
    /// The smallest rectangle holding every pixel whose alpha is not 0. A fully transparent or
    /// empty image keeps a single (transparent) pixel at the origin, so a sprite never has an
    /// empty picture.
    static QRect keptRect(const QImage& image);
};
