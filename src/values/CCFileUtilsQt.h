#pragma once

#include "CCFileUtils.h"

namespace cocos2d {

/// File access through Qt: paths are Qt paths, so any name Qt can open works here too.
class CCFileUtilsQt : public CCFileUtils
{
public:
    FILE* openFile(const QString& path, const char* mode) override;
    QString getWritablePath() const override;
};

} // namespace cocos2d
