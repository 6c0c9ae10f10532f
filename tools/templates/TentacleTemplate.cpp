#include "TentacleTemplate.h"

#include "AnimatedObject.h"
#include "PartDrawing.h"
#include "TemplatePalette.h"

#include <cmath>

using namespace TemplatePalette;
using D = PartDrawing;

namespace {

const QString kNames[] = {QStringLiteral("base"), QStringLiteral("segment_1"), QStringLiteral("segment_2"),
                          QStringLiteral("segment_3"), QStringLiteral("tip")};
constexpr int kCount = 5;
constexpr double kLength = 44.0;

double radiusAt(double along)
{
    // along: 0 at the base, 1 at the tip.
    return 21.0 - 16.0 * along;
}

PartDrawing segment(int index)
{
    PartDrawing d;
    const double from = static_cast<double>(index) / kCount;
    const double to = static_cast<double>(index + 1) / kCount;
    const double r0 = radiusAt(from);
    const double r1 = radiusAt(to);
    if (index == 0) {
        // The base spreads out where it meets the ground.
        QPainterPath foot = D::ellipse({0, 2}, 30, 11);
        d.shape(foot.united(D::limb({0, 0}, {0, -kLength}, r0, r1)), kTentacle, QPointF(4, 3));
    } else if (index == kCount - 1) {
        // The tip curls over to the right.
        QPainterPath tip = D::limb({0, 0}, {1, -20}, r0, r1 * 0.85);
        tip = tip.united(D::limb({1, -20}, {7, -30}, r1 * 0.85, 3.8))
                  .united(D::limb({7, -30}, {15, -31}, 3.8, 2.8))
                  .united(D::limb({15, -31}, {18, -25}, 2.8, 2.0));
        d.shape(tip, kTentacle, QPointF(3, 1));
    } else {
        d.shape(D::limb({0, 0}, {0, -kLength}, r0, r1), kTentacle, QPointF(4, 0));
    }
    // The inner side: a lighter band with a row of suckers.
    const double step = index == kCount - 1 ? 9.0 : 11.0;
    const int suckers = index == kCount - 1 ? 2 : 4;
    for (int i = 0; i < suckers; ++i) {
        const double y = -4 - step * i;
        const double along = from + (to - from) * (-y / kLength);
        const double r = radiusAt(along);
        d.shape(D::ellipse({r * 0.55, y}, r * 0.3, r * 0.26), kSucker, QPointF(1, 1));
        d.flat(D::ellipse({r * 0.58, y}, r * 0.12, r * 0.1), kSucker.shade);
    }
    return d;
}

} // namespace

TemplateCharacter TentacleTemplate::character()
{
    TemplateCharacter c{QStringLiteral("Tentacle"), QStringLiteral("Tentacle"), {}};
    for (int i = 0; i < kCount; ++i) {
        const PartDrawing drawing = segment(i);
        c.parts << TemplatePart{kNames[i], i ? kNames[i - 1] : QString(), i ? QPointF(0, -kLength) : QPointF(0, 0),
                                i, i, drawing.image(), drawing.transform()};
    }
    return c;
}

QList<TemplateAnimation> TentacleTemplate::animations()
{
    return {idle(), sway(), wrap()};
}

TemplateAnimation TentacleTemplate::idle()
{
    TemplateAnimation a("Idle.json", "Idle", 2.0, true);
    for (int i = 0; i < kCount; ++i) {
        const double delay = 0.08 * i;
        const double amplitude = 0.03 + 0.025 * i;
        a.cycle(kNames[i], AnimatedObject::Rotation,
                [delay, amplitude](double p) { return amplitude * std::sin(Motion::kTau * (p - delay)); });
    }
    a.cycle("base", AnimatedObject::ScaleY, [](double p) { return 1.0 + 0.04 * (1 - Motion::swing(p)) / 2; });
    return a;
}

TemplateAnimation TentacleTemplate::sway()
{
    TemplateAnimation a("Sway.json", "Sway", 2.0, true);
    // A wave runs from the base to the tip, growing as it goes.
    for (int i = 0; i < kCount; ++i) {
        const double delay = i * 0.1;
        const double amplitude = 0.12 + 0.07 * i;
        a.cycle(kNames[i], AnimatedObject::Rotation,
                [delay, amplitude](double p) { return amplitude * std::sin(Motion::kTau * (p - delay)); });
    }
    a.cycle("tip", AnimatedObject::ScaleX, [](double p) { return 1.0 + 0.08 * std::sin(2 * Motion::kTau * p); });
    return a;
}

TemplateAnimation TentacleTemplate::wrap()
{
    TemplateAnimation a("Wrap.json", "Wrap", 1.8, true);
    // Every segment bends the same way, the tip first: the tentacle rolls up and opens again.
    for (int i = 0; i < kCount; ++i) {
        const double delay = 0.06 * (kCount - 1 - i);
        const double bend = 0.1 + 0.12 * i;
        a.cycle(kNames[i], AnimatedObject::Rotation,
                [delay, bend](double p) { return -bend * (1 - Motion::swing(p - delay)) / 2; });
    }
    return a;
}
