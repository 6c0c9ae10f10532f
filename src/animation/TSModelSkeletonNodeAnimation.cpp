#include "TSModelSkeletonNodeAnimation.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeString.h"
#include "TimeLimits.h"

#include <QtGlobal>

using namespace cocos2d;

TSModelSkeletonNodeAnimation::TSModelSkeletonNodeAnimation()
    : TSModel(kClassName, ""), m_name(addTypedAttribute<TSPAttributeString>("name")),
      m_defaultName(addTypedAttribute<TSPAttributeString>("defaultName")),
      m_animationName(addTypedAttribute<TSPAttributeString>("animationName")),
      m_duration(addTypedAttribute<TSPAttributeFloat>("duration"))
{
}

QString TSModelSkeletonNodeAnimation::nodeName() const
{
    return m_name->text();
}

void TSModelSkeletonNodeAnimation::setNodeName(const QString& name)
{
    m_name->setText(name);
}

QString TSModelSkeletonNodeAnimation::defaultName() const
{
    return m_defaultName->text();
}

void TSModelSkeletonNodeAnimation::setDefaultName(const QString& name)
{
    m_defaultName->setText(name);
}

QString TSModelSkeletonNodeAnimation::animationName() const
{
    return m_animationName->text();
}

void TSModelSkeletonNodeAnimation::setAnimationName(const QString& identifier)
{
    m_animationName->setText(identifier);
}

float TSModelSkeletonNodeAnimation::duration() const
{
    return m_duration->value();
}

void TSModelSkeletonNodeAnimation::setDuration(float duration)
{
    m_duration->setValue(duration);
}

void TSModelSkeletonNodeAnimation::appendCurve(const TSAnimationCurve& curve)
{
    m_curves.push_back(curve);
    m_curves.back().setPreset(curve.preset());
}

CCDictionary* TSModelSkeletonNodeAnimation::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    auto* curves = CCArray::createWithCapacity(static_cast<unsigned>(m_curves.size()));
    for (const TSAnimationCurve& curve : m_curves) {
        auto* element = CCDictionary::create();
        element->setObject(curve.saveToDictionary(), "animation");
        curves->addObject(element);
    }
    dict->setObject(curves, "animationsArray");
    return dict;
}

void TSModelSkeletonNodeAnimation::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    const float stored = m_duration->value();
    const float duration = TimeLimits::duration(stored);
    if (!(duration == stored)) {
        const QString line = QStringLiteral("[TSModelSkeletonNodeAnimation] duration %1 of %2 out of range, using %3")
                                 .arg(static_cast<double>(stored))
                                 .arg(nodeName())
                                 .arg(static_cast<double>(duration));
        qWarning("%s", qPrintable(line));
        m_duration->setValue(duration);
    }
    m_curves.clear();
    const auto* curves = dict ? dict->objectForKeyAs<CCArray>("animationsArray") : nullptr;
    if (!curves) {
        return;
    }
    for (const CCObject* obj : *curves) {
        const auto* element = dynamic_cast<const CCDictionary*>(obj);
        const auto* stored = element ? element->objectForKeyAs<CCDictionary>("animation") : nullptr;
        if (stored) {
            TSAnimationCurve curve;
            curve.loadFromDictionary(stored);
            m_curves.push_back(std::move(curve));
        }
    }
}
