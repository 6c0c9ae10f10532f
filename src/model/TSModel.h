#pragma once

#include "CCObject.h"

#include <QImage>
#include <QString>

#include <string>

namespace cocos2d {
class CCArray;
class CCDictionary;
} // namespace cocos2d

class TSPAttribute;
class TSPAttributeGroup;
class TSPAttributeString;

/// Base of every persistent object: an id, a class name, a "Name" attribute and an ordered list
/// of typed attributes, written to and read from the model's two dictionaries.
class TSModel : public cocos2d::CCObject
{
public:
    /// Takes the next id from the controller's counter and creates the "Name" attribute.
    TSModel(const std::string& className, const std::string& name);
    ~TSModel() override;

    /// Hands the time step to every attribute.
    void update(float delta) override;

    /// Takes "id", then hands each attribute (last to first) its value dictionary.
    virtual void loadAttributes(cocos2d::CCDictionary* dict);
    /// Hands each attribute (last to first) its connection dictionary.
    virtual void loadConnections(cocos2d::CCDictionary* dict);
    /// A new dictionary: "id", "className" and each attribute's non-empty value dictionary.
    virtual cocos2d::CCDictionary* attributesDictionary();
    /// A new dictionary: "id" and each attribute's non-empty connection dictionary.
    virtual cocos2d::CCDictionary* connectionsDictionary();
    /// Leaves the controller, then lets every attribute remove what it references.
    virtual void removeFromController();
    /// Whether another model of the same class stands for the same thing.
    virtual bool isSameAs(TSModel* other);
    virtual std::string name() const;
    virtual void setName(const std::string& name);
    /// Copies attribute i of other into attribute i of this model (same class).
    virtual void copyAttributes(TSModel* other);

    /// Notification hooks that attributes call on their owner.
    virtual void spriteAttributeChanged(TSPAttribute* attribute);
    virtual void attributeWillChange(TSPAttribute* attribute);
    virtual void attributeDidChange(TSPAttribute* attribute);
    /// A sprite attribute hands its flag to the model it refers to; models that care override this.
    virtual void takeSpriteFlag(int flag);

    /// Models that keep a picture in the working folder: its file (empty for other models),
    /// the picture to write there, and the picture read back from it after a document is loaded.
    virtual QString imageFilePath() const;
    virtual QImage pictureForFile() const;
    virtual void takePictureFromFile(const QImage& picture);

    unsigned id() const { return m_id; }
    void setId(unsigned id) { m_id = id; }
    const std::string& className() const { return m_className; }
    cocos2d::CCArray* attributes() const { return m_attributes; }
    TSPAttribute* attributeNamed(const std::string& name) const;
    TSPAttributeString* nameAttribute() const { return m_nameAttribute; }

    float evaluationPosition() const { return m_evaluationPosition; }
    void setEvaluationPosition(float position) { m_evaluationPosition = position; }
    bool connectionsLoaded() const { return m_connectionsLoaded; }

    /// Creates an attribute of typeCode named name, appends it (and to group when given);
    /// null for a type code without a kind.
    TSPAttribute* addAttribute(const std::string& name, int typeCode, int editorHint = 0,
                               TSPAttributeGroup* group = nullptr, int linkMode = 0, bool flag = false);

    /// addAttribute typed: the new attribute as T, or null.
    template <class T>
    T* addTypedAttribute(const std::string& name, int editorHint = 0, TSPAttributeGroup* group = nullptr)
    {
        return dynamic_cast<T*>(addAttribute(name, T::kTypeCode, editorHint, group));
    }

private:
    TSPAttributeString* m_nameAttribute = nullptr;
    std::string m_className;
    cocos2d::CCArray* m_attributes;
    unsigned m_id;
    float m_evaluationPosition = 0.0f;
    bool m_connectionsLoaded = false;
    bool m_removing = false;
};
