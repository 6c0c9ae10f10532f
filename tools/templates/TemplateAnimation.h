#pragma once

#include "TemplateCharacter.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

#include <functional>
#include <map>

/// A template animation being composed: channels of sampled values that become Bézier keys.
/// Cyclic animations are sampled over one loop, and their first and last keys are the same
/// moment with the same slope, so the loop joins without a jump.
class TemplateAnimation
{
public:
    using Samples = QVector<QPair<double, double>>;
    using Function = std::function<double(double)>; // phase in [0, 1) → value

    /// Cyclic channels are sampled `samples` times over the loop.
    TemplateAnimation(const QString& file, const QString& name, double duration, bool cyclic, int samples = 16);

    const QString& file() const { return m_file; }
    double duration() const { return m_duration; }

    /// Samples f over the loop (the sample count in keys plus the closing one).
    void cycle(const QString& node, int channel, const Function& f);
    /// Keys at the given times (non-cyclic animations).
    void keys(const QString& node, int channel, const QVector<double>& times, const QVector<double>& values);

    /// The animation file: every part of the character gets keys over the whole animation.
    QJsonObject json(const TemplateCharacter& character) const;

private:
    QString m_file;
    QString m_name;
    double m_duration;
    bool m_cyclic;
    int m_samples;
    std::map<QString, std::map<int, Samples>> m_channels; // node → channel → samples
};

/// Shapes of motion over one loop, phase in [0, 1).
namespace Motion {

constexpr double kTau = 6.283185307179586;

/// A smooth bump of height 1 centred on centre, repeating every loop.
double bump(double phase, double centre, double width);
/// cos of the loop phase, shifted so the peak is at `at`.
double swing(double phase, double at = 0.0);

} // namespace Motion
