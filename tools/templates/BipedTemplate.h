#pragma once

#include "TemplateAnimation.h"
#include "TemplateCharacter.h"

#include <QList>

/// The biped template: a character in front three-quarter view, turned to the right, so its
/// right side ("_R" parts) is nearest the viewer. Walk, run, jump, wave and idle.
class BipedTemplate
{
public:
    static TemplateCharacter character();
    static QList<TemplateAnimation> animations();

private:
    static TemplateAnimation idle();
    static TemplateAnimation walk();
    static TemplateAnimation run();
    static TemplateAnimation jump();
    static TemplateAnimation wave();
};
