#pragma once

#include <QMetaType>

/// What part of a level a drop zone stands for; 0 when the drop hits no zone.
enum TSLevelEditorDropElementType {
    TSLevelEditorDropElementNone = 0,
    TSLevelEditorDropElementBackground = 1,
    TSLevelEditorDropElementObject = 2,
};

Q_DECLARE_METATYPE(TSLevelEditorDropElementType)
