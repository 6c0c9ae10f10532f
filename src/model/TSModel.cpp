#include "TSModel.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"
#include "TSPAttributeGroup.h"
#include "TSPAttributeString.h"

#include <algorithm>

using namespace cocos2d;

TSModel::TSModel(const std::string& className, const std::string& name)
    : m_className(className), m_attributes(new CCArray()), m_id(TSModelController::nextId())
{
    m_nameAttribute = static_cast<TSPAttributeString*>(addAttribute("Name", TSPAttribute::String));
    m_nameAttribute->setValue(name);
}

TSModel::~TSModel()
{
    m_attributes->release();
}

TSPAttribute* TSModel::addAttribute(const std::string& name, int typeCode, int editorHint, TSPAttributeGroup* group,
                                    int linkMode, bool flag)
{
    TSPAttribute* attribute = TSPAttribute::createAttribute(this, typeCode, editorHint);
    if (!attribute) {
        return nullptr;
    }
    attribute->setCreationFlag(flag);
    attribute->setName(name);
    attribute->setLinkMode(linkMode);
    m_attributes->addObject(attribute);
    if (group) {
        group->addChild(attribute);
    }
    attribute->release();
    return attribute;
}

TSPAttribute* TSModel::attributeNamed(const std::string& name) const
{
    for (CCObject* obj : *m_attributes) {
        auto* attribute = static_cast<TSPAttribute*>(obj);
        if (attribute->name() == name) {
            return attribute;
        }
    }
    return nullptr;
}

void TSModel::update(float delta)
{
    for (CCObject* obj : *m_attributes) {
        obj->update(delta);
    }
}

void TSModel::loadAttributes(CCDictionary* dict)
{
    if (!dict) {
        return;
    }
    m_id = static_cast<unsigned>(dict->valueForKey("id")->intValue());
    for (unsigned i = m_attributes->count(); i-- > 0;) {
        auto* attribute = static_cast<TSPAttribute*>(m_attributes->objectAtIndex(i));
        if (auto* value = dict->objectForKeyAs<CCDictionary>(attribute->name())) {
            attribute->loadValue(value);
        }
    }
}

void TSModel::loadConnections(CCDictionary* dict)
{
    if (dict) {
        for (unsigned i = m_attributes->count(); i-- > 0;) {
            auto* attribute = static_cast<TSPAttribute*>(m_attributes->objectAtIndex(i));
            if (auto* connections = dict->objectForKeyAs<CCDictionary>(attribute->name())) {
                attribute->loadConnections(connections);
            }
        }
    }
    m_connectionsLoaded = true;
}

CCDictionary* TSModel::attributesDictionary()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::createWithInteger(m_id), "id");
    dict->setObject(CCString::create(m_className), "className");
    for (CCObject* obj : *m_attributes) {
        auto* attribute = static_cast<TSPAttribute*>(obj);
        CCDictionary* value = attribute->valueDictionary();
        if (value && value->count() > 0) {
            dict->setObject(value, attribute->name());
        }
    }
    return dict;
}

CCDictionary* TSModel::connectionsDictionary()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::createWithInteger(m_id), "id");
    for (CCObject* obj : *m_attributes) {
        auto* attribute = static_cast<TSPAttribute*>(obj);
        CCDictionary* connections = attribute->connectionDictionary();
        if (connections && connections->count() > 0) {
            dict->setObject(connections, attribute->name());
        }
    }
    return dict;
}

void TSModel::removeFromController()
{
    // References between models may form a cycle; each model is removed once.
    if (m_removing) {
        return;
    }
    m_removing = true;
    // The controller may hold the last reference; stay alive until the attributes are done.
    retain();
    TSModelController::instance()->removeModel(this);
    for (CCObject* obj : *m_attributes) {
        static_cast<TSPAttribute*>(obj)->remove();
    }
    m_removing = false;
    release();
}

bool TSModel::isSameAs(TSModel*)
{
    return false;
}

std::string TSModel::name() const
{
    return m_nameAttribute->value();
}

void TSModel::setName(const std::string& name)
{
    m_nameAttribute->setValue(name);
}

void TSModel::copyAttributes(TSModel* other)
{
    if (!other) {
        return;
    }
    const unsigned count = std::min(m_attributes->count(), other->m_attributes->count());
    for (unsigned i = 0; i < count; ++i) {
        static_cast<TSPAttribute*>(m_attributes->objectAtIndex(i))
            ->copyFrom(static_cast<TSPAttribute*>(other->m_attributes->objectAtIndex(i)));
    }
}

void TSModel::spriteAttributeChanged(TSPAttribute*) {}

void TSModel::attributeWillChange(TSPAttribute*) {}

void TSModel::attributeDidChange(TSPAttribute*) {}

void TSModel::takeSpriteFlag(int) {}

QString TSModel::imageFilePath() const
{
    return QString();
}

QImage TSModel::pictureForFile() const
{
    return QImage();
}

void TSModel::takePictureFromFile(const QImage&) {}
