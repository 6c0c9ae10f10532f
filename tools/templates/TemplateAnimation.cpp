#include "TemplateAnimation.h"

#include "AnimatedObject.h"
#include "AnimationJson.h"
#include "bez3.h"

#include <QJsonArray>

#include <cmath>

namespace {

float rounded(double value)
{
    return static_cast<float>(std::round(value * 10000.0) / 10000.0);
}

} // namespace

double Motion::bump(double phase, double centre, double width)
{
    double distance = std::fmod(phase - centre, 1.0);
    if (distance < -0.5) {
        distance += 1.0;
    } else if (distance > 0.5) {
        distance -= 1.0;
    }
    return std::exp(-(distance / width) * (distance / width));
}

double Motion::swing(double phase, double at)
{
    return std::cos(kTau * (phase - at));
}

TemplateAnimation::TemplateAnimation(const QString& file, const QString& name, double duration, bool cyclic,
                                     int samples)
    : m_file(file), m_name(name), m_duration(duration), m_cyclic(cyclic), m_samples(samples)
{
}

void TemplateAnimation::cycle(const QString& node, int channel, const Function& f)
{
    Samples samples;
    for (int i = 0; i <= m_samples; ++i) {
        samples.append({m_duration * i / m_samples, f(static_cast<double>(i % m_samples) / m_samples)});
    }
    m_channels[node][channel] = samples;
}

void TemplateAnimation::keys(const QString& node, int channel, const QVector<double>& times,
                             const QVector<double>& values)
{
    Samples samples;
    for (int i = 0; i < times.size() && i < values.size(); ++i) {
        samples.append({times[i], values[i]});
    }
    m_channels[node][channel] = samples;
}

QJsonObject TemplateAnimation::json(const TemplateCharacter& character) const
{
    QJsonObject root;
    root.insert(QStringLiteral("name"), m_name);
    root.insert(QStringLiteral("duration"), m_duration);
    for (const TemplatePart& part : character.parts) {
        std::map<int, Samples> channels;
        const auto found = m_channels.find(part.name);
        if (found != m_channels.end()) {
            channels = found->second;
        }
        if (channels.find(AnimatedObject::Rotation) == channels.end()) {
            channels[AnimatedObject::Rotation] = Samples{{0.0, 0.0}, {m_duration, 0.0}};
        }
        QJsonObject node;
        for (const auto& [channel, samples] : channels) {
            QJsonArray keys;
            const int n = samples.size();
            for (int i = 0; i < n; ++i) {
                const double value = samples[i].second;
                double previous = i > 0 ? samples[i - 1].second : value;
                double next = i + 1 < n ? samples[i + 1].second : value;
                if (m_cyclic && n > 2) {
                    // The first and the last key are the same moment of the loop.
                    previous = i == 0 ? samples[n - 2].second : previous;
                    next = i == n - 1 ? samples[1].second : next;
                }
                // Handles follow the line through the neighbouring keys; the ends of a one-shot
                // animation ease in and out.
                const bool smooth = m_cyclic || (i > 0 && i + 1 < n);
                const double reach = smooth ? (next - previous) / 4.0 : 0.0;
                keys.append(QJsonArray{rounded(value - reach), rounded(samples[i].first), rounded(value),
                                       rounded(value + reach)});
            }
            node.insert(QLatin1String(AnimationJson::propertyName(channel)), keys);
        }
        root.insert(part.name, node);
    }
    return root;
}
