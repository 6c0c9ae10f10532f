#pragma once

#include "TSPAttribute.h"

/// A path attribute: nothing beyond the base (visibility) is stored.
class TSPAttributePath : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Path;

    explicit TSPAttributePath(TSModel* owner, int editorHint = 0) : TSPAttribute(owner, Path, editorHint) {}
};
