#pragma once

#include "TSLayoutBuilder.h"

/// A point's row: the name, then the x and the y editor side by side, each behind its letter.
class TSPointLayoutBuilder : public TSLayoutBuilder
{
public:
    void build(TSAttributeWidget* widget) const override;
};
