#pragma once

#include "TSModel.h"

#include <QStringList>

class TSPAttributeString;

/// The skeleton of a document: the template it was made from, the animation that was current
/// when it was saved, and the template animations the user deleted.
class TSModelSkeleton : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSkeleton";

    TSModelSkeleton();

    QString skeletonName() const;
    void setSkeletonName(const QString& name);
    QString animationName() const;
    void setAnimationName(const QString& name);
    /// Names of deleted template animations ("ignore_list" split at ";", empty parts kept).
    QStringList ignoreList() const;
    void setIgnoreList(const QStringList& names);

    /// Two skeletons are the same when their skeleton names are.
    bool isSameAs(TSModel* other) override;

private:
    TSPAttributeString* m_skeletonName;
    TSPAttributeString* m_animationName;
    TSPAttributeString* m_ignoreList;
};
