#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTransform>

/// One node of a template skeleton with its placeholder image.
struct TemplatePart
{
    QString name;
    QString parent;
    QPointF position; // in the parent's coordinates, pixels, y down
    int zOrder = 0;
    int stack = 0; // stacking index of the image (0 = furthest back)
    QImage image;
    QTransform transform; // places the image in the node's coordinates
};

/// A template skeleton: its folder in the library, its display name and its parts.
struct TemplateCharacter
{
    QString folder;
    QString name;
    QList<TemplatePart> parts;
};
