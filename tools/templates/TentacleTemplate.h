#pragma once

#include "TemplateAnimation.h"
#include "TemplateCharacter.h"

#include <QList>

/// The tentacle template: a chain of five segments rising from a base, suckers along its inner
/// side. Idle, sway and wrap.
class TentacleTemplate
{
public:
    static TemplateCharacter character();
    static QList<TemplateAnimation> animations();

private:
    static TemplateAnimation idle();
    static TemplateAnimation sway();
    static TemplateAnimation wrap();
};
