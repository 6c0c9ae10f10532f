#include "TSModelSkeleton.h"

#include "TSPAttributeString.h"

TSModelSkeleton::TSModelSkeleton()
    : TSModel(kClassName, ""), m_skeletonName(addTypedAttribute<TSPAttributeString>("skeleton_name")),
      m_animationName(addTypedAttribute<TSPAttributeString>("animation_name")),
      m_ignoreList(addTypedAttribute<TSPAttributeString>("ignore_list"))
{
}

QString TSModelSkeleton::skeletonName() const
{
    return m_skeletonName->text();
}

void TSModelSkeleton::setSkeletonName(const QString& name)
{
    m_skeletonName->setText(name);
}

QString TSModelSkeleton::animationName() const
{
    return m_animationName->text();
}

void TSModelSkeleton::setAnimationName(const QString& name)
{
    m_animationName->setText(name);
}

QStringList TSModelSkeleton::ignoreList() const
{
    const QString joined = m_ignoreList->text();
    return joined.isEmpty() ? QStringList() : joined.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

void TSModelSkeleton::setIgnoreList(const QStringList& names)
{
    m_ignoreList->setValue(names.join(QLatin1Char(';')).toStdString());
}

bool TSModelSkeleton::isSameAs(TSModel* other)
{
    auto* skeleton = dynamic_cast<TSModelSkeleton*>(other);
    return skeleton && skeleton->skeletonName() == skeletonName();
}
