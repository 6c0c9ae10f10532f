#pragma once

#include "TSPAttributeReference.h"

/// Refers to a sound model; its id is written unsigned.
class TSPAttributeSound : public TSPAttributeReference
{
public:
    static constexpr int kTypeCode = Sound;

    explicit TSPAttributeSound(TSModel* owner, int editorHint = 0);

    TSModel* sound() const { return referencedModel(); }
    void setSound(TSModel* model);

protected:
    std::string idText(unsigned id) const override;
};
