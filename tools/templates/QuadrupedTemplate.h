#pragma once

#include "TemplateAnimation.h"
#include "TemplateCharacter.h"

#include <QList>

/// The quadruped template: a fox seen from the side, facing right, its right legs ("_R") nearest
/// the viewer. Idle, walk and trot.
class QuadrupedTemplate
{
public:
    static TemplateCharacter character();
    static QList<TemplateAnimation> animations();

private:
    static TemplateAnimation idle();
    static TemplateAnimation gait(const QString& file, const QString& name, double duration, double stride,
                                  double lift);
};
