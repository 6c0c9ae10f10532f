#include "TSPAttributeAction.h"

#include "TSAnimationCurve.h"

TSPAttributeAction::TSPAttributeAction(TSModel* owner, int editorHint) : TSPAttribute(owner, Action, editorHint) {}

TSPAttributeAction::~TSPAttributeAction() = default;

void TSPAttributeAction::setCurve(std::unique_ptr<TSAnimationCurve> curve)
{
    m_curve = std::move(curve);
}

void TSPAttributeAction::update(float)
{
    if (!m_callback || !m_curve || !(m_curve->evaluate(evaluationPosition()) > 0.0f)) {
        return;
    }
    // Follow links of mode 1; the step limit stops a cycle of links.
    TSPAttribute* target = this;
    for (int steps = 0; steps < 1000 && target->linkMode() == 1 && target->linkedAttribute(); ++steps) {
        target = target->linkedAttribute();
    }
    m_callback(target->owner());
}
