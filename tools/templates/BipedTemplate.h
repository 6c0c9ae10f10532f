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
    /// Standing and breathing; the wave is built on it.
    static TemplateAnimation idle(const QString& file, const QString& name, double duration, int samples);
    static TemplateAnimation walk();
    static TemplateAnimation run();
    static TemplateAnimation jump();
    static TemplateAnimation wave();
};
