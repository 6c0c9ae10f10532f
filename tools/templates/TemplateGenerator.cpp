#include "TemplateGenerator.h"

#include "AnimationJson.h"
#include "AnimationPersistence.h"
#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "SkeletonJson.h"
#include "TSGraphicsPixmapModel.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSModelController.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonNode.h"
#include "TemplateLibrary.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr double kTau = 2.0 * M_PI;

// ---- Characters -------------------------------------------------------------------------------

enum class Shape { Capsule, Ellipse, RoundRect, Foot, Head, AnimalHead };

struct Part
{
    QString name;
    QString parent;
    QPointF position; // in the parent's coordinates, pixels, y down
    int zOrder;
    Shape shape;
    QSizeF extent;  // size of the drawn shape
    QPointF anchor; // where the joint sits on the shape
    QColor color;
    int stack; // stacking index of the image (0 = furthest back)
};

struct Character
{
    QString folder;
    QString name;
    QList<Part> parts;
};

QColor shade(const QColor& color, double factor)
{
    return QColor::fromRgbF(std::min(1.0, color.redF() * factor), std::min(1.0, color.greenF() * factor),
                            std::min(1.0, color.blueF() * factor));
}

// A limb hanging down from its joint: the joint sits in the middle of the upper cap.
Part limb(const QString& name, const QString& parent, QPointF position, int zOrder, double width, double length,
          const QColor& color, int stack)
{
    return Part{name, parent, position, zOrder, Shape::Capsule, QSizeF(width, length + width),
                QPointF(width / 2, width / 2), color, stack};
}

// The two sides of a paired limb: the far one darker and behind, the near one in front.
void addPair(QList<Part>& parts, const QString& base, const QString& parent, const QString& parentBase,
             QPointF position, double width, double length, const QColor& color, int farStack, int nearStack,
             Shape shape = Shape::Capsule)
{
    for (const QString& side : {QStringLiteral("R"), QStringLiteral("L")}) {
        const bool near = side == QLatin1String("L");
        const QString parentName = parentBase.isEmpty() ? parent : parentBase + QLatin1Char('_') + side;
        Part part = limb(base + QLatin1Char('_') + side, parentName, position, near ? 20 : 2, width, length,
                         near ? color : shade(color, 0.72), near ? nearStack : farStack);
        if (shape == Shape::Foot) {
            part.shape = Shape::Foot;
            part.extent = QSizeF(length, width);
            part.anchor = QPointF(width / 2, width / 2);
        } else if (shape == Shape::Ellipse) {
            part.shape = Shape::Ellipse;
            part.extent = QSizeF(width, length);
            part.anchor = QPointF(width / 2, width * 0.35);
        }
        parts.append(part);
    }
}

Character biped()
{
    const QColor skin(238, 196, 158);
    const QColor shirt(74, 134, 204);
    const QColor sleeve(98, 156, 222);
    const QColor pants(66, 76, 108);
    const QColor shin(82, 94, 132);
    const QColor shoe(72, 52, 44);
    QList<Part> parts;
    // Far arm and leg first: they are drawn behind the body.
    addPair(parts, "upper_arm", "chest", "", QPointF(4, -32), 17, 44, sleeve, 0, 15);
    addPair(parts, "forearm", "", "upper_arm", QPointF(0, 44), 14, 38, skin, 1, 16);
    addPair(parts, "hand", "", "forearm", QPointF(0, 38), 17, 20, skin, 2, 17, Shape::Ellipse);
    addPair(parts, "thigh", "pelvis", "", QPointF(0, 8), 21, 54, pants, 3, 12);
    addPair(parts, "shin", "", "thigh", QPointF(0, 54), 18, 51, shin, 4, 13);
    addPair(parts, "foot", "", "shin", QPointF(0, 51), 15, 40, shoe, 5, 14, Shape::Foot);
    parts.append(Part{"pelvis", "", QPointF(0, 0), 10, Shape::RoundRect, QSizeF(42, 30), QPointF(21, 12),
                      pants, 6});
    parts.append(Part{"spine", "pelvis", QPointF(0, -30), 11, Shape::RoundRect, QSizeF(36, 42), QPointF(18, 40),
                      shade(shirt, 0.9), 7});
    parts.append(Part{"neck", "chest", QPointF(0, -40), 12, Shape::Capsule, QSizeF(15, 24), QPointF(7.5, 18),
                      skin, 8});
    parts.append(Part{"chest", "spine", QPointF(0, -38), 13, Shape::RoundRect, QSizeF(46, 54), QPointF(23, 50),
                      shirt, 9});
    parts.append(Part{"head", "neck", QPointF(0, -14), 14, Shape::Head, QSizeF(48, 52), QPointF(20, 48), skin, 10});
    return Character{"Biped", "Biped Character", parts};
}

Character quadruped()
{
    const QColor fur(196, 136, 74);
    const QColor belly(214, 164, 104);
    const QColor paw(96, 64, 44);
    QList<Part> parts;
    addPair(parts, "hind_upper", "hips", "", QPointF(-6, 12), 20, 36, fur, 0, 14);
    addPair(parts, "hind_lower", "", "hind_upper", QPointF(0, 36), 15, 32, shade(fur, 0.92), 1, 15);
    addPair(parts, "hind_paw", "", "hind_lower", QPointF(0, 32), 13, 26, paw, 2, 16, Shape::Foot);
    addPair(parts, "front_upper", "chest", "", QPointF(6, 14), 18, 34, fur, 3, 17);
    addPair(parts, "front_lower", "", "front_upper", QPointF(0, 34), 14, 30, shade(fur, 0.92), 4, 18);
    addPair(parts, "front_paw", "", "front_lower", QPointF(0, 30), 13, 26, paw, 5, 19, Shape::Foot);
    parts.append(Part{"tail_2", "tail_1", QPointF(-24, -6), 4, Shape::Ellipse, QSizeF(30, 12), QPointF(27, 6),
                      shade(fur, 0.85), 6});
    parts.append(Part{"tail_1", "hips", QPointF(-24, -8), 5, Shape::Ellipse, QSizeF(30, 14), QPointF(27, 7),
                      fur, 7});
    parts.append(Part{"hips", "", QPointF(0, 0), 10, Shape::Ellipse, QSizeF(62, 44), QPointF(26, 22), fur, 8});
    parts.append(Part{"spine", "hips", QPointF(44, -2), 11, Shape::Ellipse, QSizeF(60, 40), QPointF(20, 20), belly,
                      9});
    parts.append(Part{"chest", "spine", QPointF(42, 0), 12, Shape::Ellipse, QSizeF(62, 48), QPointF(22, 24), fur,
                      10});
    parts.append(Part{"neck", "chest", QPointF(20, -18), 13, Shape::Capsule, QSizeF(22, 36), QPointF(11, 28),
                      fur, 11});
    parts.append(Part{"head", "neck", QPointF(4, -24), 14, Shape::AnimalHead, QSizeF(56, 36), QPointF(14, 22),
                      shade(fur, 1.06), 12});
    return Character{"Quadruped", "Quadruped", parts};
}

Character tentacle()
{
    QList<Part> parts;
    const QColor base(122, 70, 170);
    const QColor tip(232, 120, 176);
    const QString names[] = {"base", "segment_1", "segment_2", "segment_3", "tip"};
    for (int i = 0; i < 5; ++i) {
        const double mix = i / 4.0;
        const QColor color = QColor::fromRgbF(base.redF() + (tip.redF() - base.redF()) * mix,
                                              base.greenF() + (tip.greenF() - base.greenF()) * mix,
                                              base.blueF() + (tip.blueF() - base.blueF()) * mix);
        const double width = 30 - i * 5;
        const double length = i == 4 ? 26 : 44;
        Part part{names[i], i ? names[i - 1] : QString(), i ? QPointF(0, -44) : QPointF(0, 0), i,
                  Shape::Capsule, QSizeF(width, length + width), QPointF(width / 2, length + width / 2), color,
                  i};
        parts.append(part);
    }
    return Character{"Tentacle", "Tentacle", parts};
}

QImage drawPart(const Part& part)
{
    const QSize size(static_cast<int>(std::ceil(part.extent.width())) + 4,
                     static_cast<int>(std::ceil(part.extent.height())) + 4);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rect(2, 2, part.extent.width(), part.extent.height());
    painter.setPen(QPen(shade(part.color, 0.6), 2));
    painter.setBrush(part.color);
    switch (part.shape) {
    case Shape::Capsule: {
        const double radius = std::min(rect.width(), rect.height()) / 2;
        painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
        break;
    }
    case Shape::Foot: {
        const double radius = rect.height() / 2;
        painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
        break;
    }
    case Shape::Ellipse:
        painter.drawEllipse(rect.adjusted(1, 1, -1, -1));
        break;
    case Shape::RoundRect: {
        const double radius = std::min(rect.width(), rect.height()) * 0.3;
        painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
        break;
    }
    case Shape::Head: {
        painter.drawEllipse(rect.adjusted(1, 1, -1, -1));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 36, 48));
        painter.drawEllipse(QPointF(rect.left() + rect.width() * 0.72, rect.top() + rect.height() * 0.42), 3.2, 3.6);
        painter.setBrush(shade(part.color, 0.8));
        painter.drawEllipse(QPointF(rect.left() + rect.width() * 0.4, rect.top() + rect.height() * 0.5), 5, 6);
        break;
    }
    case Shape::AnimalHead: {
        QPainterPath head;
        head.addEllipse(rect.adjusted(1, 3, -16, -1));
        head.addRoundedRect(QRectF(rect.left() + rect.width() * 0.5, rect.top() + rect.height() * 0.38,
                                   rect.width() * 0.5 - 1, rect.height() * 0.5), 8, 8);
        painter.drawPath(head.simplified());
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade(part.color, 0.7));
        QPolygonF ear;
        ear << QPointF(rect.left() + 10, rect.top() + 10) << QPointF(rect.left() + 18, rect.top())
            << QPointF(rect.left() + 24, rect.top() + 9);
        painter.drawPolygon(ear);
        painter.setBrush(QColor(40, 32, 28));
        painter.drawEllipse(QPointF(rect.left() + rect.width() * 0.55, rect.top() + rect.height() * 0.36), 2.8, 3.2);
        painter.drawEllipse(QPointF(rect.right() - 3, rect.top() + rect.height() * 0.5), 3, 2.5);
        break;
    }
    }
    return image;
}

// ---- Animations -------------------------------------------------------------------------------

// Keys of one channel: (time, value) pairs, smoothed like the editor smooths, or with the tangent
// carried across the loop when the motion repeats.
using Samples = QVector<QPair<double, double>>;
using Function = std::function<double(double)>; // phase in [0, 1) → value

struct Animation
{
    QString file;
    QString name;
    double duration;
    bool cyclic;
    std::map<QString, std::map<int, Samples>> channels; // node → channel → samples
};

Samples sampleCycle(const Function& f, double duration, int count)
{
    Samples samples;
    for (int i = 0; i <= count; ++i) {
        const double phase = static_cast<double>(i % count) / count;
        samples.append({duration * i / count, f(phase)});
    }
    return samples;
}

std::vector<bez3> keysOf(const Samples& samples, bool cyclic)
{
    std::vector<bez3> keys;
    const int n = samples.size();
    for (int i = 0; i < n; ++i) {
        const double value = samples[i].second;
        double previous = i > 0 ? samples[i - 1].second : value;
        double next = i + 1 < n ? samples[i + 1].second : value;
        if (cyclic && n > 2) {
            // First and last key are the same moment of the loop.
            if (i == 0) {
                previous = samples[n - 2].second;
            }
            if (i == n - 1) {
                next = samples[1].second;
            }
        }
        double in = value;
        double out = value;
        if (cyclic || (i > 0 && i + 1 < n)) {
            in = value - (next - previous) / 4.0;
            out = value + (next - previous) / 4.0;
        }
        auto round4 = [](double v) { return static_cast<float>(std::round(v * 10000.0) / 10000.0); };
        keys.push_back(bez3{round4(in), round4(samples[i].first), round4(value), round4(out)});
    }
    return keys;
}

double wave(double phase, double amplitude, double offset = 0.0, double at = 0.0)
{
    return offset + amplitude * std::cos(kTau * (phase - at));
}

Animation bipedIdle()
{
    Animation a{"Idle.json", "Idle", 2.0, true, {}};
    auto cycle = [&a](const QString& node, int channel, const Function& f) {
        a.channels[node][channel] = sampleCycle(f, a.duration, 8);
    };
    cycle("pelvis", AnimatedObject::LocationY, [](double p) { return wave(p, 0.006, -0.004); });
    cycle("spine", AnimatedObject::Rotation, [](double p) { return wave(p, 0.015, -0.02); });
    cycle("chest", AnimatedObject::Rotation, [](double p) { return wave(p, 0.025, 0.0, 0.1); });
    cycle("neck", AnimatedObject::Rotation, [](double p) { return wave(p, 0.02, 0.02, 0.2); });
    cycle("head", AnimatedObject::Rotation, [](double p) { return wave(p, 0.04, 0.0, 0.35); });
    cycle("upper_arm_L", AnimatedObject::Rotation, [](double p) { return wave(p, 0.05, 0.08, 0.15); });
    cycle("upper_arm_R", AnimatedObject::Rotation, [](double p) { return wave(p, 0.05, -0.05, 0.15); });
    cycle("forearm_L", AnimatedObject::Rotation, [](double p) { return wave(p, 0.04, 0.18, 0.25); });
    cycle("forearm_R", AnimatedObject::Rotation, [](double p) { return wave(p, 0.04, 0.14, 0.25); });
    cycle("thigh_L", AnimatedObject::Rotation, [](double p) { return wave(p, 0.01, 0.05); });
    cycle("thigh_R", AnimatedObject::Rotation, [](double p) { return wave(p, 0.01, -0.04); });
    cycle("shin_L", AnimatedObject::Rotation, [](double p) { return wave(p, 0.015, -0.05); });
    cycle("foot_L", AnimatedObject::Rotation, [](double) { return 0.0; });
    cycle("foot_R", AnimatedObject::Rotation, [](double) { return 0.0; });
    return a;
}

// Walking and running share one gait: legs swing opposite to each other and to the arms, the
// knee folds while the leg swings forward, the foot stays level on the ground.
Animation bipedGait(const QString& file, const QString& name, double duration, double legSwing, double kneeFold,
                    double armSwing, double elbow, double lean, double bob)
{
    Animation a{file, name, duration, true, {}};
    auto cycle = [&a](const QString& node, int channel, const Function& f) {
        a.channels[node][channel] = sampleCycle(f, a.duration, 16);
    };
    auto thigh = [legSwing](double p) { return legSwing * std::cos(kTau * p); };
    // The knee folds during the swing (second half of the left leg's cycle).
    auto shin = [kneeFold](double p) {
        const double swing = std::sin(kTau * (p - 0.5));
        return -0.08 - kneeFold * std::pow(std::max(0.0, swing), 1.3) - 0.1 * std::max(0.0, -swing);
    };
    auto foot = [thigh, shin](double p) {
        const double level = -(thigh(p) + shin(p));
        return level * 0.85 + 0.15 * std::cos(kTau * p);
    };
    for (const QString& side : {QStringLiteral("L"), QStringLiteral("R")}) {
        const double shift = side == QLatin1String("L") ? 0.0 : 0.5;
        cycle("thigh_" + side, AnimatedObject::Rotation, [thigh, shift](double p) { return thigh(p + shift); });
        cycle("shin_" + side, AnimatedObject::Rotation, [shin, shift](double p) { return shin(p + shift); });
        cycle("foot_" + side, AnimatedObject::Rotation, [foot, shift](double p) { return foot(p + shift); });
        cycle("upper_arm_" + side, AnimatedObject::Rotation,
              [armSwing, shift](double p) { return -armSwing * std::cos(kTau * (p + shift)); });
        cycle("forearm_" + side, AnimatedObject::Rotation,
              [elbow, shift](double p) { return elbow + 0.3 * elbow * -std::cos(kTau * (p + shift)); });
        cycle("hand_" + side, AnimatedObject::Rotation,
              [shift](double p) { return 0.1 * std::sin(kTau * (p + shift)); });
    }
    cycle("pelvis", AnimatedObject::LocationY, [bob](double p) { return -bob * std::cos(2 * kTau * p); });
    cycle("pelvis", AnimatedObject::Rotation, [](double p) { return 0.03 * std::sin(kTau * p); });
    cycle("spine", AnimatedObject::Rotation, [lean](double p) { return -lean + 0.02 * std::cos(2 * kTau * p); });
    cycle("chest", AnimatedObject::Rotation, [](double p) { return -0.04 * std::sin(kTau * p); });
    cycle("neck", AnimatedObject::Rotation, [lean](double) { return lean * 0.5; });
    cycle("head", AnimatedObject::Rotation, [lean](double p) { return lean * 0.4 + 0.03 * std::sin(2 * kTau * p); });
    return a;
}

Animation bipedJump()
{
    Animation a{"Jump.json", "Jump", 1.2, false, {}};
    // Rest, crouch, take off, top, land, rest.
    const QVector<double> times = {0.0, 0.3, 0.45, 0.7, 0.95, 1.2};
    auto set = [&a, &times](const QString& node, int channel, QVector<double> values) {
        Samples samples;
        for (int i = 0; i < times.size(); ++i) {
            samples.append({times[i], values[i]});
        }
        a.channels[node][channel] = samples;
    };
    set("pelvis", AnimatedObject::LocationY, {0, -0.13, 0.05, 0.45, -0.1, 0});
    set("pelvis", AnimatedObject::Rotation, {0, -0.15, 0.05, 0.1, -0.12, 0});
    set("spine", AnimatedObject::Rotation, {0, -0.35, 0.05, -0.1, -0.3, 0});
    set("chest", AnimatedObject::Rotation, {0, -0.15, 0.08, 0.05, -0.1, 0});
    set("head", AnimatedObject::Rotation, {0, 0.25, -0.05, 0.05, 0.2, 0});
    for (const QString& side : {QStringLiteral("L"), QStringLiteral("R")}) {
        const double spread = side == QLatin1String("L") ? 1.0 : 0.85;
        set("thigh_" + side, AnimatedObject::Rotation, {0, 0.9 * spread, -0.05, 0.8 * spread, 0.75, 0});
        set("shin_" + side, AnimatedObject::Rotation, {0, -1.45, -0.05, -1.3, -1.2, 0});
        set("foot_" + side, AnimatedObject::Rotation, {0, 0.55, -0.45, 0.3, 0.45, 0});
        set("upper_arm_" + side, AnimatedObject::Rotation, {0, -0.8, 2.3 * spread, 2.7 * spread, 0.6, 0});
        set("forearm_" + side, AnimatedObject::Rotation, {0.15, 0.4, 0.2, 0.15, 0.5, 0.15});
    }
    return a;
}

Animation bipedWave()
{
    Animation a = bipedIdle();
    a.file = "Wave.json";
    a.name = "Wave";
    a.duration = 1.6;
    auto cycle = [&a](const QString& node, int channel, const Function& f) {
        a.channels[node][channel] = sampleCycle(f, a.duration, 16);
    };
    // Idle breathing, with the near arm up and the hand waving twice per loop.
    for (auto& [node, channels] : a.channels) {
        for (auto& [channel, samples] : channels) {
            const Samples old = samples;
            samples = sampleCycle(
                [&old](double p) {
                    const double x = p * (old.size() - 1);
                    const int i = static_cast<int>(x);
                    const double f = x - i;
                    return old[i].second * (1 - f) + old[std::min(i + 1, old.size() - 1)].second * f;
                },
                a.duration, 16);
        }
    }
    cycle("upper_arm_L", AnimatedObject::Rotation, [](double p) { return 2.55 + 0.06 * std::sin(kTau * p); });
    cycle("forearm_L", AnimatedObject::Rotation, [](double p) { return 0.45 + 0.55 * std::sin(2 * kTau * p); });
    cycle("hand_L", AnimatedObject::Rotation, [](double p) { return 0.25 * std::sin(2 * kTau * p - 0.8); });
    cycle("head", AnimatedObject::Rotation, [](double p) { return 0.06 + 0.03 * std::sin(kTau * p); });
    return a;
}

// The standing pose of the legs: hind legs angle forward at the knee and back at the hock.
constexpr double kHindUpperRest = 0.32;
constexpr double kHindLowerRest = -0.5;
constexpr double kFrontUpperRest = -0.05;
constexpr double kFrontLowerRest = 0.08;

Animation quadrupedIdle()
{
    Animation a{"Idle.json", "Idle", 2.0, true, {}};
    auto cycle = [&a](const QString& node, int channel, const Function& f) {
        a.channels[node][channel] = sampleCycle(f, a.duration, 12);
    };
    cycle("chest", AnimatedObject::ScaleY, [](double p) { return 1.0 + 0.03 * std::sin(kTau * p); });
    cycle("spine", AnimatedObject::Rotation, [](double p) { return 0.015 * std::sin(kTau * p); });
    cycle("neck", AnimatedObject::Rotation, [](double p) { return 0.05 * std::sin(kTau * p - 0.6); });
    cycle("head", AnimatedObject::Rotation, [](double p) { return 0.08 * std::sin(kTau * p - 1.2); });
    cycle("tail_1", AnimatedObject::Rotation, [](double p) { return 0.3 * std::sin(2 * kTau * p); });
    cycle("tail_2", AnimatedObject::Rotation, [](double p) { return 0.4 * std::sin(2 * kTau * p - 1.0); });
    for (const QString& side : {QStringLiteral("L"), QStringLiteral("R")}) {
        const double breathe = side == QLatin1String("L") ? 0.02 : -0.02;
        cycle("hind_upper_" + side, AnimatedObject::Rotation, [breathe](double p) { return kHindUpperRest + breathe * std::sin(kTau * p); });
        cycle("hind_lower_" + side, AnimatedObject::Rotation, [](double) { return kHindLowerRest; });
        cycle("hind_paw_" + side, AnimatedObject::Rotation, [](double) { return -0.85 * (kHindUpperRest + kHindLowerRest); });
        cycle("front_upper_" + side, AnimatedObject::Rotation, [](double) { return kFrontUpperRest; });
        cycle("front_lower_" + side, AnimatedObject::Rotation, [](double) { return kFrontLowerRest; });
        cycle("front_paw_" + side, AnimatedObject::Rotation, [](double) { return -0.85 * (kFrontUpperRest + kFrontLowerRest); });
    }
    return a;
}

Animation quadrupedWalk()
{
    Animation a{"Walk.json", "Walk", 1.2, true, {}};
    auto cycle = [&a](const QString& node, int channel, const Function& f) {
        a.channels[node][channel] = sampleCycle(f, a.duration, 16);
    };
    // Diagonal pairs move together: hind left with front right, hind right with front left.
    const std::pair<QString, double> legs[] = {{"hind_L", 0.0}, {"front_R", 0.0}, {"hind_R", 0.5}, {"front_L", 0.5}};
    for (const auto& [leg, shift] : legs) {
        const QString end = leg.section('_', 1);
        const QString kind = leg.section('_', 0, 0);
        const bool hind = kind == QLatin1String("hind");
        const double s = shift;
        const double rest = hind ? kHindUpperRest : kFrontUpperRest;
        auto upper = [s, rest](double p) { return rest + 0.36 * std::cos(kTau * (p + s)); };
        // The lower leg folds while the leg swings forward: back at the hock, back at the wrist.
        auto lower = [s, hind](double p) {
            const double fold = std::max(0.0, std::sin(kTau * (p + s - 0.5)));
            return hind ? kHindLowerRest - 0.45 * fold : kFrontLowerRest - 0.75 * fold;
        };
        cycle(kind + "_upper_" + end, AnimatedObject::Rotation, upper);
        cycle(kind + "_lower_" + end, AnimatedObject::Rotation, lower);
        cycle(kind + "_paw_" + end, AnimatedObject::Rotation,
              [upper, lower](double p) { return -0.85 * (upper(p) + lower(p)); });
    }
    cycle("hips", AnimatedObject::LocationY, [](double p) { return 0.012 * std::cos(2 * kTau * p); });
    cycle("spine", AnimatedObject::Rotation, [](double p) { return 0.02 * std::sin(2 * kTau * p); });
    cycle("neck", AnimatedObject::Rotation, [](double p) { return 0.06 * std::sin(2 * kTau * p + 0.5); });
    cycle("head", AnimatedObject::Rotation, [](double p) { return -0.04 * std::sin(2 * kTau * p + 0.5); });
    cycle("tail_1", AnimatedObject::Rotation, [](double p) { return 0.18 * std::sin(kTau * p); });
    cycle("tail_2", AnimatedObject::Rotation, [](double p) { return 0.25 * std::sin(kTau * p - 0.9); });
    return a;
}

Animation tentacleSway()
{
    Animation a{"Sway.json", "Sway", 2.0, true, {}};
    const QString names[] = {"base", "segment_1", "segment_2", "segment_3", "tip"};
    for (int i = 0; i < 5; ++i) {
        const double delay = i * 0.11;
        const double amplitude = 0.1 + 0.07 * i;
        a.channels[names[i]][AnimatedObject::Rotation] =
            sampleCycle([delay, amplitude](double p) { return amplitude * std::sin(kTau * (p - delay)); }, a.duration, 16);
    }
    a.channels["tip"][AnimatedObject::ScaleX] =
        sampleCycle([](double p) { return 1.0 + 0.08 * std::sin(2 * kTau * p); }, a.duration, 8);
    return a;
}

// Every node of the character gets keys over the whole loop, so all tracks share one duration.
QJsonObject animationJson(const Animation& animation, const Character& character)
{
    QJsonObject root;
    root.insert(QStringLiteral("name"), animation.name);
    root.insert(QStringLiteral("duration"), animation.duration);
    for (const Part& part : character.parts) {
        std::map<int, Samples> channels;
        const auto found = animation.channels.find(part.name);
        if (found != animation.channels.end()) {
            channels = found->second;
        }
        if (channels.find(AnimatedObject::Rotation) == channels.end()) {
            channels[AnimatedObject::Rotation] = Samples{{0.0, 0.0}, {animation.duration, 0.0}};
        }
        QJsonObject node;
        for (const auto& [channel, samples] : channels) {
            QJsonArray keys;
            for (const bez3& key : keysOf(samples, animation.cyclic)) {
                keys.append(QJsonArray{key.inHandle, key.time, key.value, key.outHandle});
            }
            node.insert(QLatin1String(AnimationJson::propertyName(channel)), keys);
        }
        root.insert(part.name, node);
    }
    return root;
}

// ---- Files ------------------------------------------------------------------------------------

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void addNodeModels(const QList<NodeRecord>& nodes)
{
    TSModelController* controller = TSModelController::instance();
    for (const NodeRecord& node : nodes) {
        auto* model = new TSModelSkeletonNode();
        model->fillFrom(node);
        controller->addModel(model, false);
        model->release();
    }
}

TSModelSkeleton* addSkeletonModel(const QString& name, const QString& animation)
{
    auto* skeleton = new TSModelSkeleton();
    skeleton->setSkeletonName(name);
    skeleton->setAnimationName(animation);
    TSModelController::instance()->addModel(skeleton, true);
    skeleton->release();
    return skeleton;
}

// A document made from a template folder, saved through the project storage.
// A fresh controller, so model ids (and with them the documents) are the same on every run.
TSModelController* freshController()
{
    TSModelController::destroyInstance();
    return TSModelController::instance();
}

bool writeTemplateDocument(const Character& character, const QString& path, QString* error)
{
    TSModelController* controller = freshController();
    const QString folder = character.folder;
    const QList<TemplateLibrary::Animation> animations = TemplateLibrary::listAnimations(folder);
    addSkeletonModel(character.name, animations.isEmpty() ? QString() : animations.first().first);
    addNodeModels(SkeletonJson::readSkeleton(folder));
    int index = 0;
    for (const SkeletonJson::DummyImage& image : SkeletonJson::readDummyImages(folder)) {
        TSGraphicsPixmapModel* model = TSGraphicsPixmapModel::fromItemState(QPointF(), index++, image.transform,
                                                                            0, image.image);
        model->setName(image.nodeName.toStdString());
        model->setAssetName(image.nodeName);
        controller->addModel(model, false);
        model->release();
    }
    for (const TemplateLibrary::Animation& animation : animations) {
        AnimationTracks tracks = AnimationJson::readAnimation(animation.first);
        for (const auto& object : tracks) {
            object->setInUse(true);
        }
        AnimationPersistence::save(animation.first, tracks, QPointF());
    }
    if (!controller->saveDocument(path)) {
        *error = controller->errorString();
        return false;
    }
    return true;
}

bool writeDefaultDocument(const QString& path, QString* error)
{
    TSModelController* controller = freshController();
    const QString animation = QStringLiteral("model/Animation.json");
    addSkeletonModel(QStringLiteral("Default"), animation);
    NodeRecord root;
    root.name = root.defaultName = QStringLiteral("root");
    root.size = 20.0f;
    addNodeModels({root});
    AnimationPersistence::save(animation, AnimationTracks(), QPointF());
    if (!controller->saveDocument(path)) {
        *error = controller->errorString();
        return false;
    }
    return true;
}

// A picture of the character a little into its first animation, for the welcome window.
QImage renderPreview(const QString& folder)
{
    TSGraphicsScene scene;
    TSGraphicsView view;
    view.setScene(&scene);
    auto* manipulator = new ObjectManipulator();
    scene.setManipulator(manipulator);
    Skeleton skeleton(&scene, &view, manipulator);
    skeleton.setNodes(SkeletonJson::readSkeleton(folder));
    for (const SkeletonJson::DummyImage& image : SkeletonJson::readDummyImages(folder)) {
        skeleton.addImage(image.nodeName, image.image, image.transform, false);
    }
    const QList<TemplateLibrary::Animation> animations = TemplateLibrary::listAnimations(folder);
    if (!animations.isEmpty()) {
        skeleton.setAnimation(AnimationJson::readAnimation(animations.first().first));
        skeleton.showMoment(skeleton.duration() * 250.0f);
    }
    skeleton.setSkeletonVisible(false);
    QRectF bounds;
    for (const auto& asset : skeleton.images()) {
        bounds = bounds.united(asset->item->sceneBoundingRect());
    }
    const double side = std::max(bounds.width(), bounds.height()) * 1.15;
    const QRectF source(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    QImage preview(256, 256, QImage::Format_ARGB32_Premultiplied);
    preview.fill(QColor(38, 38, 38));
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (QGraphicsItem* item : scene.items()) {
        if (item->data(129).toBool() || item->data(128).toBool()) {
            item->hide();
        }
    }
    manipulator->hide();
    scene.render(&painter, QRectF(0, 0, 256, 256), source);
    return preview;
}

} // namespace

QStringList TemplateGenerator::generate(const QString& resources, QString* error)
{
    QString ignored;
    QString& problem = error ? *error : ignored;
    QStringList written;
    const QString animationsRoot = resources + QStringLiteral("/animations/");
    const QString projects = resources + QStringLiteral("/projects/");
    QDir().mkpath(animationsRoot);
    QDir().mkpath(projects);
    TemplateLibrary::setRoot(animationsRoot);

    const QList<QPair<Character, QList<Animation>>> library = {
        {biped(),
         {bipedIdle(), bipedGait("Walk.json", "Walk", 1.0, 0.46, 0.95, 0.42, 0.3, 0.05, 0.018),
          bipedGait("Run.json", "Run", 0.6, 0.85, 1.7, 0.85, 1.15, 0.22, 0.04), bipedJump(), bipedWave()}},
        {quadruped(), {quadrupedIdle(), quadrupedWalk()}},
        {tentacle(), {tentacleSway()}},
    };

    for (const auto& [character, animations] : library) {
        const QString folder = animationsRoot + character.folder;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QList<NodeRecord> nodes;
        QList<SkeletonJson::DummyImage> images;
        QList<Part> byStack = character.parts;
        std::sort(byStack.begin(), byStack.end(), [](const Part& a, const Part& b) { return a.stack < b.stack; });
        for (const Part& part : character.parts) {
            NodeRecord node;
            node.name = node.defaultName = part.name;
            node.parent = part.parent;
            node.position = part.position;
            node.size = 18.0f;
            node.zOrder = part.zOrder;
            nodes.append(node);
        }
        for (const Part& part : byStack) {
            const QTransform transform = QTransform::fromTranslate(-(part.anchor.x() + 2), -(part.anchor.y() + 2));
            images.append(SkeletonJson::DummyImage{part.name, drawPart(part), transform, part.stack});
        }
        SkeletonJson::writeSkeleton(folder, character.name, nodes, images);
        written << character.folder + QStringLiteral("/skeleton.json");
        for (const Part& part : character.parts) {
            written << character.folder + QLatin1Char('/') + part.name + QStringLiteral(".png");
        }
        for (const Animation& animation : animations) {
            const QByteArray json = QJsonDocument(animationJson(animation, character)).toJson(QJsonDocument::Indented);
            if (!writeFile(folder + QLatin1Char('/') + animation.file, json)) {
                problem = QStringLiteral("cannot write ") + animation.file;
                return written;
            }
            written << character.folder + QLatin1Char('/') + animation.file;
        }
        const QString document = projects + character.folder + QStringLiteral(".bsdoc");
        if (!writeTemplateDocument(character, document, &problem)) {
            return written;
        }
        written << QStringLiteral("../projects/") + character.folder + QStringLiteral(".bsdoc");
        const QString preview = projects + character.folder + QStringLiteral(".png");
        renderPreview(character.folder).save(preview);
        written << QStringLiteral("../projects/") + character.folder + QStringLiteral(".png");
    }
    if (!writeDefaultDocument(animationsRoot + QStringLiteral("default.bsdoc"), &problem)) {
        return written;
    }
    written << QStringLiteral("default.bsdoc");
    TSModelController::destroyInstance();
    return written;
}
