#pragma once

#include <QString>
#include <QStringList>

/// File names made from names users type (animations, skeletons), safe on every common file
/// system: no separators, no characters Windows refuses, no reserved device names, no names that
/// are hidden or vanish.
class SafeFileName
{
public:
    /// name with each unsafe character replaced by "_", surrounding spaces and dots dropped, and
    /// "_" added to a reserved device name ("CON", "aux", "LPT1" …). "untitled" for an empty result.
    static QString from(const QString& name);
    /// from(name), made distinct from every name in taken, compared without regard to case (as
    /// case-insensitive file systems do), by appending " 2", " 3", … .
    static QString unique(const QString& name, const QStringList& taken);
};
