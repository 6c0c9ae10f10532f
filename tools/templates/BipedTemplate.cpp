#include "BipedTemplate.h"

#include "AnimatedObject.h"
#include "PartDrawing.h"
#include "TemplatePalette.h"

#include <QPointF>

#include <cmath>

using namespace TemplatePalette;
using D = PartDrawing;

namespace {

// Lengths of the legs, display pixels: hip to knee, knee to ankle, ankle to sole.
constexpr double kThigh = 56.0;
constexpr double kShin = 52.0;
constexpr double kAnkle = 12.0;
constexpr double kUnit = AnimatedObject::kLocationUnit;

const QString kSides[] = {QStringLiteral("R"), QStringLiteral("L")};

bool isNear(const QString& side)
{
    return side == QLatin1String("R");
}

TemplatePart part(const QString& name, const QString& parent, QPointF position, int zOrder, int stack,
                  const PartDrawing& drawing)
{
    return TemplatePart{name, parent, position, zOrder, stack, drawing.image(), drawing.transform()};
}

PartDrawing head()
{
    PartDrawing d;
    d.shape(D::ellipse({-23, -31}, 7, 9), kSkin);
    d.flat(D::ellipse({-23, -31}, 3.5, 5), kSkin.shade);
    d.shape(D::ellipse({3, -34}, 29, 30).united(D::ellipse({10, -17}, 19, 14)), kSkin);
    QPainterPath hair = D::ellipse({1, -50}, 33, 18)
                            .united(D::ellipse({-22, -42}, 11, 17))
                            .united(D::ellipse({22, -44}, 15, 10));
    hair = hair.intersected(D::ellipse({3, -36}, 34, 33));
    d.shape(hair, kHair, QPointF(2.5, 3.5));
    d.line(D::polyline({{-10, -57}, {0, -62}, {12, -60}}), kHair.shade, 2.0);
    // The face is turned to the right: the far eye is narrower.
    d.flat(D::ellipse({4, -25}, 4.2, 5.8), kEye);
    d.flat(D::ellipse({22, -25}, 3.3, 5.4), kEye);
    d.flat(D::ellipse({5.4, -27}, 1.5, 1.7), kHighlight);
    d.flat(D::ellipse({23, -27}, 1.2, 1.5), kHighlight);
    d.line(D::polyline({{-2, -35}, {4, -37}, {9, -36}}), kHair.shade, 2.2);
    d.line(D::polyline({{18, -36}, {22, -37}, {26, -35}}), kHair.shade, 2.2);
    d.flat(D::ellipse({-3, -16}, 5, 3), kBlush);
    d.flat(D::ellipse({27, -16}, 3.6, 2.6), kBlush);
    d.flat(D::ellipse({15, -18}, 3.2, 2.4), kSkin.shade);
    QPainterPath mouth;
    mouth.moveTo(7, -11);
    mouth.quadTo(13, -6.5, 19, -11.5);
    d.line(mouth, kInk, 2.0);
    return d;
}

PartDrawing neck()
{
    PartDrawing d;
    d.shape(D::limb({0, 4}, {0, -14}, 7.5, 7.5), kSkin);
    return d;
}

PartDrawing chest()
{
    PartDrawing d;
    QPainterPath torso;
    torso.moveTo(-21, 4);
    torso.lineTo(-27, -40);
    torso.quadTo(-31, -60, -12, -60);
    torso.lineTo(14, -60);
    torso.quadTo(31, -60, 28, -40);
    torso.lineTo(21, 4);
    torso.closeSubpath();
    d.shape(torso, kShirt, QPointF(5, 3));
    d.shape(D::ellipse({4, -60}, 10, 5.5).intersected(torso), kSkin);
    d.line(D::polyline({{-6, -60}, {4, -53}, {14, -60}}), kShirt.shade, 2.4);
    d.line(D::polyline({{5, -50}, {4, 2}}), kShirt.shade, 1.6);
    d.shape(D::ellipse({14, -37}, 6.5, 6.5), kGold, QPointF(2, 2));
    return d;
}

PartDrawing spine()
{
    PartDrawing d;
    d.shape(D::roundedRect(QRectF(-22, -42, 44, 46), 12), kShirt, QPointF(5, 0));
    d.shape(D::roundedRect(QRectF(-23, -4, 46, 9), 4), kShirt.far(0.88), QPointF(4, 2));
    return d;
}

PartDrawing pelvis()
{
    PartDrawing d;
    d.shape(D::roundedRect(QRectF(-25, -12, 50, 32), 11), kTrousers, QPointF(4, 4));
    d.shape(D::roundedRect(QRectF(-25, -12, 50, 8), 3), kLeather, QPointF(2, 2));
    d.shape(D::roundedRect(QRectF(2, -13, 9, 10), 2), kGold, QPointF(1.5, 1.5));
    return d;
}

PartDrawing thigh(const Tone& tone)
{
    PartDrawing d;
    d.shape(D::limb({0, 0}, {0, kThigh}, 12.5, 10), tone, QPointF(4, 0));
    return d;
}

PartDrawing shin(const Tone& tone)
{
    PartDrawing d;
    d.shape(D::limb({0, 0}, {0, kShin - 10}, 10, 8.5), tone, QPointF(4, 0));
    d.shape(D::roundedRect(QRectF(-11, kShin - 16, 22, 14), 5), tone.far(0.86), QPointF(3, 2));
    return d;
}

PartDrawing foot(const Tone& tone, const Tone& sole)
{
    PartDrawing d;
    d.shape(D::roundedRect(QRectF(-10, -4, 28, 15), 7).united(D::ellipse({16, 5.5}, 11, 7.5)), tone,
            QPointF(0, 3.5));
    d.shape(D::roundedRect(QRectF(-11, 7.5, 39, 5.5), 2.7), sole, QPointF(0, 1.5));
    d.line(D::polyline({{6, -1}, {10, 3}}), tone.ink, 1.6);
    return d;
}

PartDrawing upperArm(const Tone& skin, const Tone& sleeve)
{
    PartDrawing d;
    d.shape(D::limb({0, 0}, {0, 44}, 8.5, 7.5), skin, QPointF(3, 0));
    d.shape(D::roundedRect(QRectF(-11, -10, 22, 33), 9), sleeve, QPointF(3.5, 2));
    return d;
}

PartDrawing forearm(const Tone& skin)
{
    PartDrawing d;
    d.shape(D::limb({0, 0}, {0, 40}, 7.5, 6.2), skin, QPointF(3, 0));
    return d;
}

PartDrawing hand(const Tone& skin)
{
    PartDrawing d;
    d.shape(D::ellipse({0, 10}, 8.5, 10), skin, QPointF(3, 2.5));
    d.shape(D::ellipse({7, 5}, 3.6, 6), skin, QPointF(1.5, 1.5));
    return d;
}

// How far below the hip the sole reaches with the leg at these angles.
double legReach(double thighAngle, double shinAngle)
{
    return kThigh * std::cos(thighAngle) + kShin * std::cos(thighAngle + shinAngle) + kAnkle;
}

// A gait cycle of both legs and arms; the hips ride on whichever foot is lower, so the feet meet
// the ground instead of sliding through it.
struct Gait
{
    double stride;    // thigh swing, radians
    double forward;   // thigh bias forward
    double kneeSwing; // knee fold while the leg swings through
    double kneeLoad;  // knee give just after contact
    double armSwing;
    double elbow; // forearm bend
    double elbowSwing;
    double lean;   // forward lean of the spine
    double flight; // lift of the hips between steps, pixels

    double thigh(double q) const
    {
        // Stance lasts longer than the swing forward.
        const double warped = q + 0.05 * std::sin(Motion::kTau * q);
        return forward + stride * std::cos(Motion::kTau * warped);
    }
    double knee(double q) const
    {
        return -0.05 - kneeSwing * Motion::bump(q, 0.68, 0.12) - kneeLoad * Motion::bump(q, 0.1, 0.08);
    }
    double foot(double q) const
    {
        // Level on the ground, toe up at the heel strike, heel up at the push off.
        return -(thigh(q) + knee(q)) + 0.28 * Motion::bump(q, 0.02, 0.06) - 0.5 * Motion::bump(q, 0.56, 0.06);
    }
    double hips(double p) const
    {
        const double rest = legReach(0, 0);
        const double reach = std::max(legReach(thigh(p), knee(p)), legReach(thigh(p + 0.5), knee(p + 0.5)));
        const double lift = flight * (Motion::bump(p, 0.4, 0.09) + Motion::bump(p, 0.9, 0.09));
        return (reach - rest + lift) / kUnit;
    }

    TemplateAnimation animation(const QString& file, const QString& name, double duration) const
    {
        TemplateAnimation a(file, name, duration, true);
        const Gait g = *this;
        for (const QString& side : kSides) {
            const double shift = isNear(side) ? 0.0 : 0.5;
            a.cycle("thigh_" + side, AnimatedObject::Rotation, [g, shift](double p) { return g.thigh(p + shift); });
            a.cycle("shin_" + side, AnimatedObject::Rotation, [g, shift](double p) { return g.knee(p + shift); });
            a.cycle("foot_" + side, AnimatedObject::Rotation, [g, shift](double p) { return g.foot(p + shift); });
            // Arms swing against the leg of their side, the forearm and hand a little later.
            a.cycle("upper_arm_" + side, AnimatedObject::Rotation,
                    [g, shift](double p) { return -g.armSwing * Motion::swing(p + shift, 0.04); });
            a.cycle("forearm_" + side, AnimatedObject::Rotation, [g, shift](double p) {
                return g.elbow + g.elbowSwing * Motion::swing(p + shift, 0.6);
            });
            a.cycle("hand_" + side, AnimatedObject::Rotation,
                    [shift](double p) { return 0.12 * Motion::swing(p + shift, 0.68); });
        }
        a.cycle("pelvis", AnimatedObject::LocationY, [g](double p) { return g.hips(p); });
        a.cycle("pelvis", AnimatedObject::Rotation, [](double p) { return 0.035 * Motion::swing(p); });
        a.cycle("spine", AnimatedObject::Rotation,
                [g](double p) { return -g.lean - 0.25 * g.lean * Motion::swing(2 * p, 0.1); });
        a.cycle("chest", AnimatedObject::Rotation, [](double p) { return -0.05 * Motion::swing(p, 0.05); });
        a.cycle("neck", AnimatedObject::Rotation, [g](double) { return 0.4 * g.lean; });
        a.cycle("head", AnimatedObject::Rotation,
                [g](double p) { return 0.4 * g.lean + 0.03 * Motion::swing(2 * p, 0.2); });
        return a;
    }
};

} // namespace

TemplateCharacter BipedTemplate::character()
{
    TemplateCharacter c{QStringLiteral("Biped"), QStringLiteral("Biped Character"), {}};
    // Far limbs sit behind the body and take the darker tones.
    for (const QString& side : kSides) {
        const bool near = isNear(side);
        const Tone skin = near ? kSkin : kSkin.far();
        const Tone shirt = near ? kShirt : kShirt.far();
        const Tone trousers = near ? kTrousers : kTrousers.far();
        const Tone shoe = near ? kShoe : kShoe.far();
        const Tone sole = near ? kCream : kCream.far();
        const int z = near ? 20 : 2;
        const int arm = near ? 14 : 0;
        const int leg = near ? 6 : 3;
        c.parts << part("upper_arm_" + side, "chest", near ? QPointF(-23, -47) : QPointF(21, -46), z, arm,
                        upperArm(skin, shirt))
                << part("forearm_" + side, "upper_arm_" + side, QPointF(0, 44), z, arm + 1, forearm(skin))
                << part("hand_" + side, "forearm_" + side, QPointF(0, 40), z, arm + 2, hand(skin))
                << part("thigh_" + side, "pelvis", near ? QPointF(-11, 8) : QPointF(10, 6), z, leg,
                        thigh(trousers))
                << part("shin_" + side, "thigh_" + side, QPointF(0, kThigh), z, leg + 1, shin(trousers))
                << part("foot_" + side, "shin_" + side, QPointF(0, kShin), z, leg + 2, foot(shoe, sole));
    }
    c.parts << part("pelvis", "", QPointF(0, 0), 10, 9, pelvis())
            << part("spine", "pelvis", QPointF(0, -10), 11, 10, spine())
            << part("neck", "chest", QPointF(3, -56), 12, 11, neck())
            << part("chest", "spine", QPointF(0, -36), 13, 12, chest())
            << part("head", "neck", QPointF(0, -12), 14, 13, head());
    return c;
}

QList<TemplateAnimation> BipedTemplate::animations()
{
    return {idle("Idle.json", "Idle", 2.0, 8), jump(), run(), walk(), wave()};
}

TemplateAnimation BipedTemplate::idle(const QString& file, const QString& name, double duration, int samples)
{
    TemplateAnimation a(file, name, duration, true, samples);
    using Motion::swing;
    // Breathing: the chest fills and lifts the shoulders, the weight settles a little.
    a.cycle("chest", AnimatedObject::ScaleY, [](double p) { return 1.0 + 0.025 * (1 - swing(p)) / 2; });
    a.cycle("chest", AnimatedObject::Rotation, [](double p) { return 0.015 * swing(p, 0.3); });
    a.cycle("pelvis", AnimatedObject::LocationY, [](double p) { return -0.012 * (1 + swing(p)) / 2; });
    a.cycle("pelvis", AnimatedObject::LocationX, [](double p) { return 0.006 * swing(p, 0.25); });
    a.cycle("spine", AnimatedObject::Rotation, [](double p) { return -0.02 + 0.012 * swing(p, 0.2); });
    a.cycle("neck", AnimatedObject::Rotation, [](double p) { return 0.015 * swing(p, 0.35); });
    a.cycle("head", AnimatedObject::Rotation, [](double p) { return 0.03 + 0.035 * swing(p, 0.45); });
    for (const QString& side : kSides) {
        const double out = isNear(side) ? -1 : 1;
        a.cycle("upper_arm_" + side, AnimatedObject::Rotation,
                [out](double p) { return out * (0.09 + 0.035 * swing(p, 0.1)); });
        a.cycle("forearm_" + side, AnimatedObject::Rotation, [](double p) { return 0.2 + 0.05 * swing(p, 0.2); });
        a.cycle("hand_" + side, AnimatedObject::Rotation, [](double p) { return 0.05 * swing(p, 0.3); });
        // Knees give as the hips settle; the feet stay flat.
        a.cycle("thigh_" + side, AnimatedObject::Rotation, [](double p) { return 0.06 * (1 + swing(p)) / 2; });
        a.cycle("shin_" + side, AnimatedObject::Rotation, [](double p) { return -0.12 * (1 + swing(p)) / 2; });
        a.cycle("foot_" + side, AnimatedObject::Rotation, [](double p) { return 0.06 * (1 + swing(p)) / 2; });
    }
    return a;
}

TemplateAnimation BipedTemplate::walk()
{
    const Gait gait{0.42, 0.04, 0.95, 0.18, 0.36, 0.32, 0.18, 0.05, 0.0};
    return gait.animation("Walk.json", "Walk", 1.0);
}

TemplateAnimation BipedTemplate::run()
{
    const Gait gait{0.72, 0.2, 1.85, 0.4, 0.85, 1.45, 0.25, 0.2, 14.0};
    return gait.animation("Run.json", "Run", 0.6);
}

TemplateAnimation BipedTemplate::jump()
{
    TemplateAnimation a("Jump.json", "Jump", 1.2, false);
    // Rest, crouch, push off, top of the jump, falling, landing, settling, rest.
    const QVector<double> t = {0.0, 0.28, 0.4, 0.62, 0.8, 0.9, 1.05, 1.2};
    const QVector<double> thigh = {0, 0.95, -0.1, 0.9, 0.15, 0.9, 0.12, 0};
    const QVector<double> knee = {0, -1.7, 0, -1.55, -0.2, -1.6, -0.2, 0};
    QVector<double> hips;
    QVector<double> feet;
    const QVector<double> air = {0, 0, 22, 54, 28, 0, 0, 0};
    for (int i = 0; i < t.size(); ++i) {
        hips << (legReach(thigh[i], knee[i]) - legReach(0, 0) + air[i]) / kUnit;
        // On the ground the feet stay flat; in the air the toes point down.
        feet << (air[i] > 0 ? -0.45 : -(thigh[i] + knee[i]));
    }
    a.keys("pelvis", AnimatedObject::LocationY, t, hips);
    a.keys("pelvis", AnimatedObject::Rotation, t, {0, -0.12, 0.06, 0.1, 0, -0.12, 0.02, 0});
    a.keys("spine", AnimatedObject::Rotation, t, {0, -0.38, 0.1, -0.1, 0.04, -0.42, 0.04, 0});
    a.keys("chest", AnimatedObject::Rotation, t, {0, -0.12, 0.06, 0.04, 0, -0.14, 0.02, 0});
    a.keys("chest", AnimatedObject::ScaleY, t, {1, 0.95, 1.05, 1.0, 1.02, 0.94, 1.01, 1});
    a.keys("head", AnimatedObject::Rotation, t, {0, 0.32, -0.14, 0.05, 0.05, 0.32, -0.04, 0});
    for (const QString& side : kSides) {
        const double spread = isNear(side) ? 1.0 : 0.86;
        const double out = isNear(side) ? -0.25 : 0.25;
        a.keys("thigh_" + side, AnimatedObject::Rotation, t,
               {0, thigh[1], thigh[2], thigh[3] * spread, thigh[4], thigh[5], thigh[6], 0});
        a.keys("shin_" + side, AnimatedObject::Rotation, t, knee);
        a.keys("foot_" + side, AnimatedObject::Rotation, t, feet);
        a.keys("upper_arm_" + side, AnimatedObject::Rotation, t,
               {0, -0.95, 2.6 * spread, 2.35 * spread + out, 1.4 + out, 0.75, 0.1, 0});
        a.keys("forearm_" + side, AnimatedObject::Rotation, t, {0.15, 0.25, 0.2, 0.5, 0.35, 0.7, 0.25, 0.15});
        a.keys("hand_" + side, AnimatedObject::Rotation, t, {0, 0.3, -0.2, 0.2, 0.1, 0.3, 0, 0});
    }
    return a;
}

TemplateAnimation BipedTemplate::wave()
{
    // Breathing as in the idle, the near arm raised and the hand waving twice per loop.
    TemplateAnimation a = idle("Wave.json", "Wave", 1.6, 16);
    using Motion::swing;
    a.cycle("upper_arm_R", AnimatedObject::Rotation, [](double p) { return -2.45 + 0.06 * swing(p); });
    a.cycle("forearm_R", AnimatedObject::Rotation, [](double p) { return -0.35 + 0.5 * swing(2 * p); });
    a.cycle("hand_R", AnimatedObject::Rotation, [](double p) { return -0.1 + 0.3 * swing(2 * p, 0.12); });
    a.cycle("chest", AnimatedObject::Rotation, [](double p) { return 0.05 + 0.015 * swing(2 * p, 0.1); });
    a.cycle("head", AnimatedObject::Rotation, [](double p) { return -0.08 + 0.05 * swing(2 * p, 0.2); });
    return a;
}
