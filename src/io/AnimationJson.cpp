#include "AnimationJson.h"

#include "TemplateLibrary.h"
#include "TimeLimits.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

const char* const kProperties[AnimatedObject::kChannelCount] = {"location_0", "location_1", "rotation_euler_2",
                                                                 "scale_0", "scale_1"};

// A file full of oversized keyframes must not flood the log.
constexpr int kMaxExtraNumberMessages = 100;

constexpr double kLargestValue = std::numeric_limits<float>::max();

// Not a number, or beyond limit either way.
bool outOfRange(double value, double limit)
{
    return !(std::abs(value) <= limit);
}

QJsonObject readRoot(const QString& path, bool* opened)
{
    return TemplateLibrary::readJson(path, opened);
}

} // namespace

const char* AnimationJson::propertyName(int channel)
{
    return channel >= 0 && channel < AnimatedObject::kChannelCount ? kProperties[channel] : "";
}

int AnimationJson::channelOf(const QString& property)
{
    for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
        if (property == QLatin1String(kProperties[i])) {
            return i;
        }
    }
    return -1;
}

QString AnimationJson::readName(const QString& path)
{
    bool opened = false;
    const QString name = readRoot(path, &opened).value(QStringLiteral("name")).toString();
    return name.isEmpty() ? QFileInfo(path).completeBaseName() : name;
}

AnimationTracks AnimationJson::readAnimation(const QString& path)
{
    AnimationTracks tracks;
    bool opened = false;
    const QJsonObject root = readRoot(path, &opened);
    if (!opened) {
        qDebug("%s", qPrintable(QStringLiteral("Failed to open animation from ") + TemplateLibrary::resolve(path)));
        return tracks;
    }
    // The running duration applies to the nodes that come after "duration" in key order.
    float duration = 0.0f;
    int extraMessages = 0;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("name")) {
            continue;
        }
        if (key == QLatin1String("duration")) {
            const double stored = it.value().toDouble();
            duration = TimeLimits::duration(stored);
            if (!(static_cast<double>(duration) == stored)) {
                qDebug("%s", qPrintable(QStringLiteral("Duration %1 out of range in %2, using %3")
                                            .arg(stored)
                                            .arg(path)
                                            .arg(static_cast<double>(duration))));
            }
            continue;
        }
        auto object = std::make_unique<AnimatedObject>();
        object->setName(key);
        object->setDefaultName(key);
        object->setDuration(duration, false);
        const QJsonObject properties = it.value().toObject();
        for (auto property = properties.begin(); property != properties.end(); ++property) {
            std::vector<bez3> keys;
            const QJsonArray keyframes = property.value().toArray();
            keys.reserve(static_cast<size_t>(keyframes.size()));
            for (const QJsonValue& keyframe : keyframes) {
                const QJsonArray numbers = keyframe.toArray();
                // Missing numbers of a short keyframe read as 0.
                double values[4] = {0, 0, 0, 0};
                for (int i = 0; i < numbers.size(); ++i) {
                    if (i < 4) {
                        values[i] = numbers.at(i).toDouble();
                    } else if (extraMessages < kMaxExtraNumberMessages) {
                        ++extraMessages;
                        qDebug("%s", qPrintable(QStringLiteral("Too many points in keyframe for ") + key +
                                                QLatin1Char('.') + property.key()));
                    }
                }
                const bool clamped = outOfRange(values[1], TimeLimits::kMaxSeconds) ||
                                     outOfRange(values[0], kLargestValue) || outOfRange(values[2], kLargestValue) ||
                                     outOfRange(values[3], kLargestValue);
                if (clamped && extraMessages < kMaxExtraNumberMessages) {
                    ++extraMessages;
                    qDebug("%s", qPrintable(QStringLiteral("Keyframe out of range clamped for ") + key +
                                            QLatin1Char('.') + property.key()));
                }
                keys.push_back(bez3{TimeLimits::keyValue(values[0]), TimeLimits::keyTime(values[1]),
                                    TimeLimits::keyValue(values[2]), TimeLimits::keyValue(values[3])});
            }
            const int channel = channelOf(property.key());
            if (channel < 0) {
                qDebug("%s", qPrintable(QStringLiteral("Unrecognized property ") + property.key()));
                continue;
            }
            object->setChannelKeys(channel, keys);
        }
        tracks.append(std::move(object));
    }
    return tracks;
}
