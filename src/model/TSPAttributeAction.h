#pragma once

#include "TSPAttribute.h"

#include <functional>
#include <memory>

class TSAnimationCurve;

/// Fires a callback while its curve is above 0 at the owner's evaluation position.
class TSPAttributeAction : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Action;

    using Callback = std::function<void(TSModel*)>;

    explicit TSPAttributeAction(TSModel* owner, int editorHint = 0);
    ~TSPAttributeAction() override;

    void setCallback(Callback callback) { m_callback = std::move(callback); }
    const Callback& callback() const { return m_callback; }
    TSAnimationCurve* curve() const { return m_curve.get(); }
    void setCurve(std::unique_ptr<TSAnimationCurve> curve);

    /// Calls the callback with the owner of the attribute reached by following links of mode 1.
    void update(float delta) override;

private:
    Callback m_callback;
    std::unique_ptr<TSAnimationCurve> m_curve;
};
