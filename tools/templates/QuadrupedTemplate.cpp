#include "QuadrupedTemplate.h"

#include "AnimatedObject.h"
#include "PartDrawing.h"
#include "TemplatePalette.h"

#include <cmath>

using namespace TemplatePalette;
using D = PartDrawing;

namespace {

const QString kSides[] = {QStringLiteral("R"), QStringLiteral("L")};

TemplatePart part(const QString& name, const QString& parent, QPointF position, int zOrder, int stack,
                  const PartDrawing& drawing)
{
    return TemplatePart{name, parent, position, zOrder, stack, drawing.image(), drawing.transform()};
}

PartDrawing hips()
{
    PartDrawing d;
    d.shape(D::ellipse({-4, 0}, 34, 27), kFur, QPointF(3, 5));
    return d;
}

PartDrawing spine()
{
    PartDrawing d;
    // One long barrel from the haunch to the shoulder, so the back reads as one line.
    const QPainterPath body = D::ellipse({-2, 1}, 46, 24);
    d.shape(body, kFur, QPointF(0, 5));
    d.shape(D::ellipse({2, 21}, 34, 10).intersected(body), kCream, QPointF(0, 3));
    return d;
}

PartDrawing chest()
{
    PartDrawing d;
    const QPainterPath body = D::ellipse({4, 0}, 31, 29);
    d.shape(body, kFur, QPointF(3, 5));
    d.shape(D::ellipse({24, 12}, 14, 22).intersected(body), kCream, QPointF(3, 3));
    return d;
}

PartDrawing neck()
{
    PartDrawing d;
    d.shape(D::limb({0, 4}, {8, -28}, 15, 12), kFur, QPointF(3, 2));
    d.shape(D::ellipse({14, -6}, 8, 16).intersected(D::limb({0, 4}, {8, -28}, 15, 12)), kCream, QPointF(2, 2));
    return d;
}

PartDrawing head()
{
    PartDrawing d;
    // Ears first: the far one darker and behind.
    QPainterPath farEar = D::polyline({{8, -10}, {18, -38}, {24, -8}});
    farEar.closeSubpath();
    d.shape(farEar, kFur.far(), QPointF(2, 2));
    QPainterPath ear = D::polyline({{-8, -8}, {-2, -38}, {12, -10}});
    ear.closeSubpath();
    d.shape(ear, kFur, QPointF(3, 2));
    QPainterPath inner = D::polyline({{-4, -12}, {-2, -30}, {6, -12}});
    inner.closeSubpath();
    d.flat(inner, kPaw.light);
    const QPainterPath skull = D::ellipse({6, -2}, 21, 17);
    const QPainterPath snout = D::limb({14, 2}, {40, 4}, 11, 6);
    d.shape(skull.united(snout), kFur, QPointF(2, 4));
    d.shape(D::ellipse({18, 10}, 22, 8).intersected(skull.united(snout)), kCream, QPointF(1, 2));
    d.flat(D::ellipse({43, 2}, 4.5, 3.8), kEye);
    d.flat(D::ellipse({16, -6}, 3.6, 4.4), kEye);
    d.flat(D::ellipse({17.2, -7.6}, 1.3, 1.5), kHighlight);
    d.line(D::polyline({{10, -12}, {15, -13}, {21, -11}}), kFur.shade, 2.0);
    return d;
}

PartDrawing tail(bool tip)
{
    PartDrawing d;
    if (tip) {
        const QPainterPath brush = D::limb({0, 0}, {-22, -6}, 13, 15).united(D::limb({-22, -6}, {-44, -10}, 15, 4));
        d.shape(brush, kFur, QPointF(2, 4));
        d.shape(D::ellipse({-44, -10}, 14, 14).intersected(brush), kCream, QPointF(2, 2));
    } else {
        d.shape(D::limb({0, 0}, {-30, -10}, 9, 13), kFur, QPointF(2, 4));
    }
    return d;
}

// One bone of a leg hanging from its joint to end; the lower half of the lower bones is dark.
PartDrawing leg(QPointF end, double top, double bottom, const Tone& fur, const Tone* sock = nullptr)
{
    PartDrawing d;
    d.shape(D::limb({0, 0}, end, top, bottom), fur, QPointF(3, 0));
    if (sock) {
        d.shape(D::limb(end * 0.5, end, bottom + 1, bottom), *sock, QPointF(2, 0));
    }
    return d;
}

PartDrawing paw(const Tone& sock)
{
    PartDrawing d;
    d.shape(D::ellipse({5, 3}, 10, 5.5), sock, QPointF(0, 2.5));
    return d;
}

} // namespace

TemplateCharacter QuadrupedTemplate::character()
{
    TemplateCharacter c{QStringLiteral("Quadruped"), QStringLiteral("Quadruped"), {}};
    for (const QString& side : kSides) {
        const bool near = side == QLatin1String("R");
        const Tone fur = near ? kFur : kFur.far(0.78);
        const Tone sock = near ? kPaw : kPaw.far(0.85);
        const int z = near ? 20 : 2;
        // The far legs stand a little further along the body and higher, as they would in depth.
        const QPointF depth = near ? QPointF(0, 0) : QPointF(7, -4);
        const int hind = near ? 10 : 0;
        const int front = near ? 15 : 3;
        c.parts << part("hind_upper_" + side, "hips", QPointF(-8, 12) + depth, z, hind, leg({6, 32}, 15, 8, fur))
                << part("hind_lower_" + side, "hind_upper_" + side, QPointF(6, 32), z, hind + 1,
                        leg({-6, 30}, 8, 6, fur, &sock))
                << part("hind_paw_" + side, "hind_lower_" + side, QPointF(-6, 30), z, hind + 2, paw(sock))
                << part("front_upper_" + side, "chest", QPointF(8, 14) + depth, z, front, leg({0, 34}, 11, 8, fur))
                << part("front_lower_" + side, "front_upper_" + side, QPointF(0, 34), z, front + 1,
                        leg({0, 30}, 7.5, 6, fur, &sock))
                << part("front_paw_" + side, "front_lower_" + side, QPointF(0, 30), z, front + 2, paw(sock));
    }
    c.parts << part("tail_2", "tail_1", QPointF(-30, -10), 4, 6, tail(true))
            << part("tail_1", "hips", QPointF(-34, -10), 5, 7, tail(false))
            << part("hips", "", QPointF(0, 0), 10, 8, hips())
            << part("spine", "hips", QPointF(40, -4), 11, 9, spine())
            << part("neck", "chest", QPointF(22, -16), 13, 13, neck())
            << part("chest", "spine", QPointF(38, 0), 12, 14, chest())
            << part("head", "neck", QPointF(8, -30), 14, 18, head());
    return c;
}

QList<TemplateAnimation> QuadrupedTemplate::animations()
{
    return {idle(), gait("Trot.json", "Trot", 0.7, 0.5, 8.0), gait("Walk.json", "Walk", 1.2, 0.34, 0.0)};
}

TemplateAnimation QuadrupedTemplate::idle()
{
    TemplateAnimation a("Idle.json", "Idle", 2.0, true, 12);
    using Motion::swing;
    a.cycle("chest", AnimatedObject::ScaleY, [](double p) { return 1.0 + 0.03 * (1 - swing(p)) / 2; });
    a.cycle("spine", AnimatedObject::ScaleY, [](double p) { return 1.0 + 0.02 * (1 - swing(p, 0.05)) / 2; });
    a.cycle("neck", AnimatedObject::Rotation, [](double p) { return 0.06 * swing(p, 0.3); });
    // A look around: the head turns up, then down, and back.
    a.cycle("head", AnimatedObject::Rotation, [](double p) { return 0.1 * swing(p, 0.4) + 0.04 * swing(2 * p); });
    a.cycle("tail_1", AnimatedObject::Rotation, [](double p) { return 0.25 * swing(2 * p); });
    a.cycle("tail_2", AnimatedObject::Rotation, [](double p) { return 0.4 * swing(2 * p, 0.12); });
    return a;
}

TemplateAnimation QuadrupedTemplate::gait(const QString& file, const QString& name, double duration,
                                          double stride, double lift)
{
    TemplateAnimation a(file, name, duration, true);
    using Motion::bump;
    using Motion::swing;
    // Diagonal pairs move together: near hind with far front, far hind with near front. The
    // front legs lead the hind ones by a little.
    const std::pair<const char*, double> legs[] = {
        {"hind_R", 0.0}, {"front_L", 0.06}, {"hind_L", 0.5}, {"front_R", 0.56}};
    for (const auto& [leg, shift] : legs) {
        const QString name = QLatin1String(leg);
        const QString kind = name.section('_', 0, 0);
        const QString side = name.section('_', 1);
        const bool hind = kind == QLatin1String("hind");
        const double s = shift;
        auto upper = [s, stride](double p) { return stride * swing(p + s); };
        // The lower leg folds while it swings through: back at the hock, back at the wrist.
        auto lower = [s, hind, stride](double p) {
            return -(hind ? 1.2 : 2.2) * stride * bump(p + s, 0.72, 0.13);
        };
        a.cycle(kind + "_upper_" + side, AnimatedObject::Rotation, upper);
        a.cycle(kind + "_lower_" + side, AnimatedObject::Rotation, lower);
        a.cycle(kind + "_paw_" + side, AnimatedObject::Rotation,
                [upper, lower, s](double p) { return -(upper(p) + lower(p)) - 0.3 * bump(p + s, 0.55, 0.06); });
    }
    a.cycle("hips", AnimatedObject::LocationY, [lift](double p) {
        return (3.0 * swing(2 * p, 0.25) + lift * (bump(p, 0.35, 0.1) + bump(p, 0.85, 0.1))) / 200.0;
    });
    a.cycle("spine", AnimatedObject::Rotation, [](double p) { return 0.025 * swing(2 * p, 0.1); });
    a.cycle("neck", AnimatedObject::Rotation, [](double p) { return 0.06 * swing(2 * p, 0.2); });
    a.cycle("head", AnimatedObject::Rotation, [](double p) { return -0.05 * swing(2 * p, 0.2); });
    a.cycle("tail_1", AnimatedObject::Rotation, [](double p) { return -0.1 + 0.12 * swing(p); });
    a.cycle("tail_2", AnimatedObject::Rotation, [](double p) { return 0.05 + 0.22 * swing(p, 0.15); });
    return a;
}
