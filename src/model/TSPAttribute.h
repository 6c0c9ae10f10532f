#pragma once

#include "CCObject.h"

#include <string>

namespace cocos2d {
class CCArray;
class CCDictionary;
} // namespace cocos2d

class TSModel;

/// A typed, defaulted, serialisable property of a model.
///
/// An attribute writes a value dictionary and a connection dictionary under its name in the
/// model's files, can follow another attribute (read-through while the link mode is 0), and is
/// created by type code through createAttribute().
class TSPAttribute : public cocos2d::CCObject
{
public:
    /// Type codes; 3 and 4 are unassigned and create nothing.
    enum Type {
        Float = 0,
        Point = 1,
        Sprite = 2,
        Action = 5,
        String = 6,
        Enum = 7,
        Shape = 8,
        Animation = 9,
        Path = 10,
        Asset = 11,
        Group = 12,
        Color = 13,
        Boolean = 14,
        Sound = 15,
        Key = 16,
    };

    explicit TSPAttribute(TSModel* owner, int typeCode, int editorHint = 0);

    /// A new attribute of the kind of typeCode (owned by the caller), or null for a code without one.
    static TSPAttribute* createAttribute(TSModel* owner, int typeCode, int editorHint = 0);

    /// Reads "visible"; an absent or empty entry means visible.
    virtual void loadValue(cocos2d::CCDictionary* dict);
    virtual void loadConnections(cocos2d::CCDictionary* dict);
    /// Null when not savable; otherwise a new dictionary, with "visible" = "0" only when hidden.
    virtual cocos2d::CCDictionary* valueDictionary();
    /// Null when not savable; otherwise a new, empty dictionary.
    virtual cocos2d::CCDictionary* connectionDictionary();
    /// Called when the owner leaves the controller.
    virtual void remove();
    /// Called by every setter after a change.
    virtual void changed();
    /// Tell the owner model about this attribute (its second and third notification hooks).
    virtual void notifyOwnerWillChange();
    virtual void notifyOwnerDidChange();
    virtual void copyFrom(TSPAttribute* other);
    virtual void show();
    virtual void hide();
    virtual void debugPrint();

    TSModel* owner() const { return m_owner; }
    const std::string& name() const { return m_name; }
    void setName(const std::string& name) { m_name = name; }
    /// Text handed to the attributes panel's layout.
    const std::string& layoutText() const { return m_layoutText; }
    void setLayoutText(const std::string& text) { m_layoutText = text; }

    bool isVisible() const { return m_visible; }
    bool isSavable() const { return m_savable; }
    void setSavable(bool savable) { m_savable = savable; }
    int linkMode() const { return m_linkMode; }
    void setLinkMode(int mode) { m_linkMode = mode; }
    int typeCode() const { return m_typeCode; }
    int editorHint() const { return m_editorHint; }
    bool creationFlag() const { return m_creationFlag; }
    void setCreationFlag(bool flag) { m_creationFlag = flag; }

    TSPAttribute* linkedAttribute() const { return m_linkedAttribute; }
    void setLinkedAttribute(TSPAttribute* attribute) { m_linkedAttribute = attribute; }
    /// True while this attribute reads through its linked attribute (link mode 0).
    bool isFollowing() const { return m_linkedAttribute && m_linkMode == 0; }

protected:
    /// The owner's evaluation position, at which curve-driven values are computed.
    float evaluationPosition() const;

private:
    TSPAttribute* m_linkedAttribute = nullptr;
    TSModel* m_owner;
    std::string m_name;
    std::string m_layoutText;
    bool m_visible = true;
    int m_linkMode = 0;
    int m_typeCode;
    int m_editorHint;
    bool m_savable = true;
    bool m_creationFlag = false;
};
