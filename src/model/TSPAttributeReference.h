#pragma once

#include "TSPAttribute.h"

/// Common ground of the attributes that refer to another model by id (sprite, animation, asset,
/// sound): the connection dictionary holds "value" = the referenced model's id.
class TSPAttributeReference : public TSPAttribute
{
public:
    TSPAttributeReference(TSModel* owner, int typeCode, int editorHint);
    ~TSPAttributeReference() override;

    TSModel* referencedModel() const { return m_model; }

    /// Resolves "value" through the controller; an unknown id leaves the reference empty.
    void loadConnections(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* connectionDictionary() override;
    void copyFrom(TSPAttribute* other) override;

protected:
    /// Stores model (retained) without any notification.
    void setReferencedModel(TSModel* model);
    /// Whether a loaded id may name this model; rejecting it leaves the reference empty.
    virtual bool acceptsModel(TSModel* model) const;
    /// The id as written into the connection dictionary.
    virtual std::string idText(unsigned id) const;
    /// Hands the resolved model to the attribute, as its own setter would.
    virtual void adoptLoadedModel(TSModel* model);

private:
    TSModel* m_model = nullptr;
};
