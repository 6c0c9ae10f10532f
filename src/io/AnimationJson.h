#pragma once

#include "AnimationTracks.h"

#include <QString>

/// Reading a template animation file: a "name", a "duration" and, per node, keyframe arrays
/// [inHandle, time, value, outHandle] for each animated property.
class AnimationJson
{
public:
    /// JSON property name of each channel, in channel order.
    static const char* propertyName(int channel);
    /// The channel of a JSON property name, or -1.
    static int channelOf(const QString& property);

    /// The tracks of the file at path (relative paths are taken from the template library), in
    /// key order; empty (with a log line) when the file cannot be read.
    static AnimationTracks readAnimation(const QString& path);
    /// The animation's display name: "name", or the file's base name when that is empty.
    static QString readName(const QString& path);
};
