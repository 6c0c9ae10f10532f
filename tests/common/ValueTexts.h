#pragma once
// Test helpers: the keys and texts inside value objects, so stored forms compare in one line.

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"

#include <QStringList>

namespace test {

/// The keys of a dictionary, in order.
inline QStringList keysOf(const cocos2d::CCDictionary* dict)
{
    QStringList keys;
    for (const auto& element : dict->elements()) {
        keys << QString::fromStdString(element.strKey);
    }
    return keys;
}

/// The strings of an array, in order; "<obj>" for an element that is not a string.
inline QStringList textsOf(const cocos2d::CCArray* array)
{
    QStringList texts;
    for (const cocos2d::CCObject* obj : *array) {
        const auto* text = dynamic_cast<const cocos2d::CCString*>(obj);
        texts << (text ? QString::fromStdString(text->string()) : QStringLiteral("<obj>"));
    }
    return texts;
}

} // namespace test
