// Undo for every edit, as a property: a long random sequence of edits made through the editor's own
// entry points on a shipped document, then every step undone, redone, saved and opened again. The
// whole document must come back exactly each time. The seed comes from BONESTAGE_SEED (the number
// of steps from BONESTAGE_STEPS); a failure is shrunk to its shortest failing prefix and reported
// with the seed and the steps, so it replays.
#include "AnimationEditorPanel.h"
#include "AnimationModelClasses.h"
#include "DocumentController.h"
#include "EditController.h"
#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "PixmapPlaceholderItem.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsView.h"
#include "TSMainWindow.h"
#include "TSModelController.h"
#include "TemplateLibrary.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"

#include <QGraphicsEllipseItem>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

// Document state ---------------------------------------------------------------------------------

struct NodeState
{
    QString name, defaultName, parent, itemParent;
    QTransform rest;
    QPointF position;
    float size = 0;
    int zOrder = 0;
    QColor boneColor;
};

struct ImageState
{
    QString name, assetName, nodeName, itemParent;
    QStringList tags;
    QTransform rest;
    qreal z = 0;
    QImage picture;
};

struct TrackState
{
    QString name, defaultName;
    float duration = 0;
    std::array<std::vector<bez3>, AnimatedObject::kChannelCount> channels;
};

struct AnimationState
{
    QString name;
    QPointF axes;
    QList<TrackState> tracks;
};

struct DocumentState
{
    QList<NodeState> nodes;
    QList<ImageState> images;
    std::map<QString, AnimationState> animations;
    QRectF canvas;
    QString current;
    int frames = 0;
};

QString number(double v)
{
    return QString::number(v, 'g', 9);
}

QString text(const QTransform& t)
{
    return QStringLiteral("[%1 %2 %3; %4 %5 %6; %7 %8 %9]")
        .arg(number(t.m11()), number(t.m12()), number(t.m13()), number(t.m21()), number(t.m22()), number(t.m23()),
             number(t.m31()), number(t.m32()), number(t.m33()));
}

QString text(const QPointF& p)
{
    return QStringLiteral("(%1, %2)").arg(number(p.x()), number(p.y()));
}

QString text(const QRectF& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
}

QString text(const std::vector<bez3>& keys)
{
    QStringList out;
    for (const bez3& k : keys) {
        out << QStringLiteral("{%1 %2 %3 %4}").arg(number(k.time), number(k.value), number(k.inHandle),
                                                   number(k.outHandle));
    }
    return out.join(QLatin1Char(' '));
}

bool same(const QTransform& a, const QTransform& b)
{
    return a.m11() == b.m11() && a.m12() == b.m12() && a.m13() == b.m13() && a.m21() == b.m21() &&
           a.m22() == b.m22() && a.m23() == b.m23() && a.m31() == b.m31() && a.m32() == b.m32() && a.m33() == b.m33();
}

bool same(const std::vector<bez3>& a, const std::vector<bez3>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const bez3& x, const bez3& y) {
               return x.time == y.time && x.value == y.value && x.inHandle == y.inHandle && x.outHandle == y.outHandle;
           });
}

/// Collects the first differences between two states, each as "what: expected … got …".
class Differences
{
public:
    template <class T> void check(const QString& what, const T& expected, const T& actual)
    {
        if (!(expected == actual)) {
            add(what, describe(expected), describe(actual));
        }
    }
    void checkTransform(const QString& what, const QTransform& expected, const QTransform& actual)
    {
        if (!same(expected, actual)) {
            add(what, text(expected), text(actual));
        }
    }
    void checkKeys(const QString& what, const std::vector<bez3>& expected, const std::vector<bez3>& actual)
    {
        if (!same(expected, actual)) {
            add(what, text(expected), text(actual));
        }
    }
    QStringList lines;

private:
    void add(const QString& what, const QString& expected, const QString& actual)
    {
        if (lines.size() < 8) {
            lines << QStringLiteral("%1: expected %2, got %3").arg(what, expected, actual);
        }
    }
    static QString describe(const QString& v) { return QLatin1Char('"') + v + QLatin1Char('"'); }
    static QString describe(const QStringList& v) { return QLatin1Char('[') + v.join(QLatin1Char(',')) + QLatin1Char(']'); }
    static QString describe(double v) { return number(v); }
    static QString describe(int v) { return QString::number(v); }
    static QString describe(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString describe(const QPointF& v) { return text(v); }
    static QString describe(const QRectF& v) { return text(v); }
    static QString describe(const QColor& v) { return v.name(QColor::HexArgb); }
    static QString describe(const QImage& v)
    {
        return QStringLiteral("%1x%2 image (format %3)").arg(v.width()).arg(v.height()).arg(v.format());
    }
};

/// Differences between two states; withCurrent also compares which animation is current, which
/// only a save keeps (choosing an animation is no edit, so the history does not bring it back).
QStringList compare(const DocumentState& e, const DocumentState& a, bool withCurrent)
{
    Differences d;
    auto nodeNames = [](const DocumentState& s) {
        QStringList all;
        for (const NodeState& node : s.nodes) {
            all << node.name;
        }
        return all;
    };
    d.check(QStringLiteral("nodes"), nodeNames(e), nodeNames(a));
    for (int i = 0; i < std::min(e.nodes.size(), a.nodes.size()); ++i) {
        const NodeState& x = e.nodes.at(i);
        const NodeState& y = a.nodes.at(i);
        const QString at = QStringLiteral("node %1 \"%2\" ").arg(i).arg(x.name);
        d.check(at + "name", x.name, y.name);
        d.check(at + "default name", x.defaultName, y.defaultName);
        d.check(at + "parent", x.parent, y.parent);
        d.check(at + "joint's parent", x.itemParent, y.itemParent);
        d.checkTransform(at + "rest transform", x.rest, y.rest);
        d.check(at + "position", x.position, y.position);
        d.check(at + "size", static_cast<double>(x.size), static_cast<double>(y.size));
        d.check(at + "z order", x.zOrder, y.zOrder);
        d.check(at + "bone colour", x.boneColor, y.boneColor);
    }
    auto imageNames = [](const DocumentState& s) {
        QStringList all;
        for (const ImageState& image : s.images) {
            all << image.name;
        }
        return all;
    };
    d.check(QStringLiteral("images"), imageNames(e), imageNames(a));
    for (int i = 0; i < std::min(e.images.size(), a.images.size()); ++i) {
        const ImageState& x = e.images.at(i);
        const ImageState& y = a.images.at(i);
        const QString at = QStringLiteral("image %1 \"%2\" ").arg(i).arg(x.name);
        d.check(at + "name", x.name, y.name);
        d.check(at + "asset name", x.assetName, y.assetName);
        d.check(at + "node", x.nodeName, y.nodeName);
        d.check(at + "placeholder's parent", x.itemParent, y.itemParent);
        d.check(at + "tags", x.tags, y.tags);
        d.checkTransform(at + "rest transform", x.rest, y.rest);
        d.check(at + "z", static_cast<double>(x.z), static_cast<double>(y.z));
        d.check(at + "picture", x.picture, y.picture);
    }
    QStringList expectedNames, actualNames;
    for (const auto& entry : e.animations) {
        expectedNames << entry.first;
    }
    for (const auto& entry : a.animations) {
        actualNames << entry.first;
    }
    d.check(QStringLiteral("animations"), expectedNames, actualNames);
    for (const auto& [identifier, x] : e.animations) {
        const auto found = a.animations.find(identifier);
        if (found == a.animations.end()) {
            continue;
        }
        const AnimationState& y = found->second;
        const QString at = QStringLiteral("animation \"%1\" ").arg(identifier);
        d.check(at + "name", x.name, y.name);
        d.check(at + "axes", x.axes, y.axes);
        auto names = [](const QList<TrackState>& tracks) {
            QStringList all;
            for (const TrackState& track : tracks) {
                all << track.name;
            }
            return all;
        };
        d.check(at + "tracks", names(x.tracks), names(y.tracks));
        for (int t = 0; t < std::min(x.tracks.size(), y.tracks.size()); ++t) {
            const TrackState& p = x.tracks.at(t);
            const TrackState& q = y.tracks.at(t);
            const QString track = at + QStringLiteral("track %1 \"%2\" ").arg(t).arg(p.name);
            d.check(track + "name", p.name, q.name);
            d.check(track + "default name", p.defaultName, q.defaultName);
            d.check(track + "duration", static_cast<double>(p.duration), static_cast<double>(q.duration));
            for (int c = 0; c < AnimatedObject::kChannelCount; ++c) {
                d.checkKeys(track + QStringLiteral("channel %1").arg(c), p.channels[c], q.channels[c]);
            }
        }
    }
    d.check(QStringLiteral("canvas"), e.canvas, a.canvas);
    if (withCurrent) {
        d.check(QStringLiteral("current animation"), e.current, a.current);
        d.check(QStringLiteral("frames"), e.frames, a.frames);
    }
    return d.lines;
}

// What the document holds of tracks: binding an animation drops a channel's only key when it
// restates the channel's default (a documented clean-up that leaves every pose as it was), so
// channels are compared without it; whether a length is explicit is not stored (opening makes
// every stored length explicit), so it is not compared either.
TrackState trackState(const AnimatedObject& object)
{
    TrackState track;
    track.name = object.name();
    track.defaultName = object.defaultName();
    track.duration = object.duration();
    for (int c = 0; c < AnimatedObject::kChannelCount; ++c) {
        const TSAnimationCurve& curve = object.channel(c);
        track.channels[c].assign(curve.keys(), curve.keys() + curve.keyCount());
        if (track.channels[c].size() == 1 && track.channels[c].front().value == AnimatedObject::channelDefault(c)) {
            track.channels[c].clear();
        }
    }
    return track;
}

// What a save keeps of a value: the text the file holds (printf's, which rounds ties to even),
// read back as the loader reads it into a float field. The field goes through memory: inlined,
// the optimiser may otherwise keep the double it read.
float stored(double value, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    const volatile float field = static_cast<float>(std::atof(text));
    return field;
}

QTransform storedTransform(const QTransform& t)
{
    auto f = [](qreal v) { return static_cast<qreal>(stored(static_cast<float>(v), "%f")); };
    const QTransform read(f(t.m11()), f(t.m12()), f(t.m13()), f(t.m21()), f(t.m22()), f(t.m23()), f(t.m31()),
                          f(t.m32()), f(t.m33()));
    return read.isInvertible() ? read : QTransform();
}

/// The state a saved document opens with, as its format defines: floats as "%f", points and
/// keys as "%.3f", node positions whole, one name per image.
DocumentState storedForm(DocumentState s)
{
    for (NodeState& node : s.nodes) {
        // Opening keeps whole positions only; the editor must not make others, so the positions
        // are expected back as they were.
        node.position = QPointF(stored(static_cast<float>(node.position.x()), "%.3f"),
                                stored(static_cast<float>(node.position.y()), "%.3f"));
        node.size = stored(node.size, "%f");
        node.zOrder = static_cast<int>(stored(static_cast<float>(node.zOrder), "%f"));
        node.rest = storedTransform(node.rest);
        const QColor c = node.boneColor;
        node.boneColor = QColor::fromRgbF(stored(static_cast<float>(c.redF()), "%f"),
                                          stored(static_cast<float>(c.greenF()), "%f"),
                                          stored(static_cast<float>(c.blueF()), "%f"),
                                          stored(static_cast<float>(c.alphaF()), "%f"));
    }
    for (ImageState& image : s.images) {
        image.rest = storedTransform(image.rest);
        image.assetName = image.name;
        if (image.name.isEmpty()) {
            image.name = image.nodeName;
        }
    }
    for (auto& entry : s.animations) {
        AnimationState& animation = entry.second;
        animation.axes = QPointF(stored(static_cast<float>(animation.axes.x()), "%.3f"),
                                 stored(static_cast<float>(animation.axes.y()), "%.3f"));
        for (TrackState& track : animation.tracks) {
            track.duration = stored(track.duration, "%f");
            for (int c = 0; c < AnimatedObject::kChannelCount; ++c) {
                for (bez3& key : track.channels[c]) {
                    key = bez3{stored(key.inHandle, "%.3f"), stored(key.time, "%.3f"), stored(key.value, "%.3f"),
                               stored(key.outHandle, "%.3f")};
                }
                if (track.channels[c].size() == 1 &&
                    track.channels[c].front().value == AnimatedObject::channelDefault(c)) {
                    track.channels[c].clear();
                }
            }
        }
    }
    s.canvas = QRectF(stored(s.canvas.x(), "%.4f"), stored(s.canvas.y(), "%.4f"), stored(s.canvas.width(), "%.4f"),
                      stored(s.canvas.height(), "%.4f"));
    return s;
}

/// The whole document as the editor holds it: for each animation, what leaving it or saving
/// keeps (the animation shown from the skeleton, the others from the models).
DocumentState snapshotOf(const TSMainWindow& window);

// One run --------------------------------------------------------------------------------------

/// An editor on one document and the random edits made in it.
class UndoRun
{
public:
    UndoRun(const QString& document, quint32 seed, const QString& folder)
        : m_document(document), m_random(seed), m_folder(folder)
    {
    }
    ~UndoRun() { closeWindow(); }

    /// Makes steps edits, undoes, redoes, saves and reopens; the first failure, or empty.
    QString run(int steps);
    QStringList steps() const { return m_steps; }
    /// How many steps of each kind changed the history.
    QMap<QString, int> recorded() const { return m_recorded; }

private:
    bool openWindow(const QString& path, bool isTemplate);
    void closeWindow();
    DocumentState snapshot() const;
    void step();
    void note(const QString& what);

    // Choices among what exists.
    int pick(int count) { return count > 0 ? m_random.bounded(count) : -1; }
    double between(double low, double high) { return low + m_random.generateDouble() * (high - low); }
    bool chance(int percent) { return m_random.bounded(100) < percent; }
    Skeleton::Node* anyNode();
    Skeleton::Asset* anyImage();
    QList<QGraphicsItem*> someImages();
    void select(const QList<QGraphicsItem*>& items);
    void setAnimationMode(bool on);
    int chooseFrame(const Skeleton::Node* node, const Skeleton::Asset* image);
    QString writePng();

    // The edits.
    void addNode();
    void deleteSelection();
    void deleteKeys();
    void removeBranch();
    void copyPaste();
    void arrange();
    void importImages(bool drop);
    bool dragTarget(bool animationMode);
    void reparentNode();
    void reparentImage();
    void canvasSize();
    void frameCount();
    void addAnimation();
    void moveAxes();
    void selectAnimation();

    QString m_document;
    QRandomGenerator m_random;
    QString m_folder;
    std::unique_ptr<TSMainWindow> m_window;
    QStringList m_steps;
    QMap<QString, int> m_recorded;
    int m_files = 0;
};

bool UndoRun::openWindow(const QString& path, bool isTemplate)
{
    m_window = std::make_unique<TSMainWindow>();
    m_window->resize(1200, 760);
    if (!m_window->loadDocument(path, isTemplate, QFileInfo(path).completeBaseName())) {
        return false;
    }
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get())) {
        return false;
    }
    m_window->fitCanvas();
    return true;
}

void UndoRun::closeWindow()
{
    if (m_window) {
        m_window->document()->setModified(false);
        m_window.reset();
        TSModelController::destroyInstance();
    }
}

DocumentState UndoRun::snapshot() const
{
    return snapshotOf(*m_window);
}

DocumentState snapshotOf(const TSMainWindow& window)
{
    DocumentState s;
    Skeleton* skeleton = window.skeleton();
    auto nameOfJoint = [skeleton](const QGraphicsItem* item) {
        if (!item) {
            return QString();
        }
        const Skeleton::Node* node = skeleton->nodeByItem(item);
        return node && node->joint == item ? node->name : QStringLiteral("<not a joint>");
    };
    for (const auto& node : skeleton->nodes()) {
        s.nodes.append(NodeState{node->name, node->defaultName, node->parent, nameOfJoint(node->joint->parentItem()),
                                 node->restTransform, node->position, node->size, node->zOrder, node->boneColor});
    }
    for (const auto* list : {&skeleton->images(), &skeleton->dummyImages()}) {
        for (const auto& asset : *list) {
            s.images.append(ImageState{asset->name, asset->assetName, asset->nodeName,
                                       nameOfJoint(asset->placeholder->parentItem()), asset->tags,
                                       asset->restTransform, asset->item->zValue(),
                                       asset->item->pixmap().toImage()});
        }
    }
    DocumentController* document = window.document();
    s.current = document->currentAnimation();
    for (const DocumentController::Animation& listed : document->animations()) {
        AnimationState animation;
        animation.name = listed.name;
        if (listed.identifier == s.current) {
            animation.axes = window.history()->axes()->crossing();
            for (const auto& object : skeleton->tracks()) {
                // What a save or a change of animation keeps.
                if (object->inUse()) {
                    animation.tracks.append(trackState(*object));
                }
            }
        } else {
            const AnimationTracks tracks = document->loadTracks(listed.identifier, &animation.axes);
            for (const auto& object : tracks) {
                animation.tracks.append(trackState(*object));
            }
        }
        // Only the order of tracks of one name means something (binding takes the first that
        // matches): tracks that no animation keeps yet take their place in it when they join.
        std::stable_sort(animation.tracks.begin(), animation.tracks.end(),
                         [](const TrackState& a, const TrackState& b) { return a.name < b.name; });
        s.animations[listed.identifier] = animation;
    }
    s.canvas = window.animationCanvas()->canvasRect();
    s.frames = skeleton->frameCount();
    return s;
}

void UndoRun::note(const QString& what)
{
    m_steps << QStringLiteral("%1. %2").arg(m_steps.size() + 1).arg(what);
}

Skeleton::Node* UndoRun::anyNode()
{
    const auto& nodes = m_window->skeleton()->nodes();
    const int i = pick(static_cast<int>(nodes.size()));
    return i < 0 ? nullptr : nodes[static_cast<size_t>(i)].get();
}

Skeleton::Asset* UndoRun::anyImage()
{
    const auto& images = m_window->skeleton()->images();
    const int i = pick(static_cast<int>(images.size()));
    return i < 0 ? nullptr : images[static_cast<size_t>(i)].get();
}

QList<QGraphicsItem*> UndoRun::someImages()
{
    QList<QGraphicsItem*> items;
    const int count = chance(70) ? 1 : 2 + m_random.bounded(2);
    for (int i = 0; i < count; ++i) {
        if (Skeleton::Asset* image = anyImage(); image && !items.contains(image->placeholder)) {
            items.append(image->placeholder);
        }
    }
    return items;
}

void UndoRun::select(const QList<QGraphicsItem*>& items)
{
    m_window->manipulator()->setTargets(items);
}

void UndoRun::setAnimationMode(bool on)
{
    for (TSGraphicsButton* button : m_window->graphicsView()->buttons()) {
        if (button->toolTip() == QLatin1String("Animation mode") && button->isChecked() != on) {
            TSGraphicsView* view = m_window->graphicsView();
            const QPoint at = button->rect().center();
            test::sendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            test::sendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        }
    }
}

/// A frame on the timeline: often one that holds a key of the target, or one next to it.
int UndoRun::chooseFrame(const Skeleton::Node* node, const Skeleton::Asset* image)
{
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    QList<int> keyed;
    if (const AnimatedObject* tracks = node ? node->animation : image ? image->animation : nullptr) {
        for (int c = 0; c < AnimatedObject::kChannelCount; ++c) {
            keyed += tracks->channel(c).keyFrames();
        }
    }
    int frame = pick(timeline->frameCount());
    if (!keyed.isEmpty() && chance(60)) {
        frame = keyed.at(pick(keyed.size())) + m_random.bounded(3) - 1;
    }
    frame = std::clamp(frame, 0, timeline->frameCount() - 1);
    // A click on the timeline, as the user picks a frame.
    const double cell = static_cast<double>(timeline->width()) / timeline->frameCount();
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier,
                      QPoint(static_cast<int>((frame + 0.5) * cell), timeline->height() / 2));
    return timeline->currentFrame();
}

QString UndoRun::writePng()
{
    static const char* const names[] = {"leaf", "head", "arm", "tail", "shadow"};
    const QString name = QLatin1String(names[pick(5)]);
    const QString folder = QStringLiteral("%1/%2").arg(m_folder).arg(++m_files);
    QDir().mkpath(folder);
    QImage image(4 + m_random.bounded(40), 4 + m_random.bounded(40), QImage::Format_ARGB32);
    image.fill(QColor(m_random.bounded(256), m_random.bounded(256), m_random.bounded(256)));
    for (int i = 0; i < 6; ++i) {
        image.setPixelColor(pick(image.width()), pick(image.height()),
                            QColor(m_random.bounded(256), m_random.bounded(256), m_random.bounded(256)));
    }
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return image.save(path) ? path : QString();
}

// Edits ----------------------------------------------------------------------------------------

void UndoRun::addNode()
{
    Skeleton::Node* parent = anyNode();
    Skeleton::Asset* image = chance(30) ? anyImage() : nullptr;
    select(image ? QList<QGraphicsItem*>{image->placeholder}
                 : parent ? QList<QGraphicsItem*>{parent->joint} : QList<QGraphicsItem*>{});
    note(QStringLiteral("add a node under the selected %1")
                         .arg(image ? QStringLiteral("image \"%1\"").arg(image->name)
                                    : QStringLiteral("joint \"%1\"").arg(parent ? parent->name : QString())));
    m_window->editing()->addNode();
}

void UndoRun::deleteSelection()
{
    if (chance(50)) {
        Skeleton::Node* node = anyNode();
        if (!node) {
            return;
        }
        select({node->joint});
        note(QStringLiteral("delete the selected joint \"%1\"").arg(node->name));
    } else {
        const QList<QGraphicsItem*> images = someImages();
        if (images.isEmpty()) {
            return;
        }
        select(images);
        note(QStringLiteral("delete %1 selected image(s)").arg(images.size()));
    }
    m_window->editing()->deleteSelection(false, 0);
}

void UndoRun::deleteKeys()
{
    Skeleton::Node* node = chance(60) ? anyNode() : nullptr;
    Skeleton::Asset* image = node ? nullptr : anyImage();
    if (!node && !image) {
        return;
    }
    select({node ? static_cast<QGraphicsItem*>(node->joint) : image->placeholder});
    const int frame = chooseFrame(node, image);
    note(QStringLiteral("delete the keys of %1 \"%2\" on frame %3")
                            .arg(QLatin1String(node ? "joint" : "image"), node ? node->name : image->name)
                            .arg(frame));
    m_window->editing()->deleteSelection(true, frame);
}

void UndoRun::removeBranch()
{
    Skeleton::Node* node = anyNode();
    if (!node) {
        return;
    }
    select({node->joint});
    note(QStringLiteral("remove joint \"%1\" and its children").arg(node->name));
    m_window->editing()->removeNodeAndChildren();
}

void UndoRun::copyPaste()
{
    Skeleton::Asset* source = anyImage();
    if (!source) {
        return;
    }
    select({source->placeholder});
    m_window->editing()->copy();
    Skeleton::Node* node = chance(50) ? anyNode() : nullptr;
    Skeleton::Asset* image = node ? nullptr : anyImage();
    select({node ? static_cast<QGraphicsItem*>(node->joint) : image->placeholder});
    note(QStringLiteral("copy image \"%1\", paste at %2 \"%3\"")
                      .arg(source->name, node ? "joint" : "image", node ? node->name : image->name));
    m_window->editing()->paste();
}

void UndoRun::arrange()
{
    const QList<QGraphicsItem*> images = someImages();
    if (images.isEmpty()) {
        return;
    }
    select(images);
    const auto action = static_cast<Skeleton::ZValueChangeAction>(m_random.bounded(4));
    note(QStringLiteral("arrange %1 image(s) with action %2").arg(images.size()).arg(action));
    m_window->editing()->arrange(action);
}

void UndoRun::importImages(bool drop)
{
    QList<QUrl> urls;
    const int count = chance(70) ? 1 : 2;
    for (int i = 0; i < count; ++i) {
        urls << QUrl::fromLocalFile(writePng());
    }
    Skeleton::Node* node = anyNode();
    if (!drop) {
        select(node ? QList<QGraphicsItem*>{node->joint} : QList<QGraphicsItem*>{});
        note(QStringLiteral("import %1 image(s) at joint \"%2\"").arg(count).arg(node ? node->name : ""));
        m_window->editing()->importImages(urls);
        return;
    }
    // A real drop on the view, over a joint or beside the skeleton.
    TSGraphicsView* view = m_window->graphicsView();
    const QPointF scenePoint = node && chance(80) ? node->joint->sceneBoundingRect().center()
                                                  : QPointF(between(-300, 300), between(-300, 300));
    const QPoint at = view->mapFromScene(scenePoint);
    note(QStringLiteral("drop %1 image(s) at %2").arg(count).arg(text(scenePoint)));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &dropped);
}

/// A scene point where item is the first item under the mouse that takes presses: the view hands
/// a press to the items under the whole pixel.
QPointF pressablePoint(QGraphicsView* view, const QGraphicsItem* item)
{
    const QRectF box = item->sceneBoundingRect();
    const double step = std::max(0.5, std::min(box.width(), box.height()) / 12);
    const QPointF centre = box.center();
    for (double r = 0; r < std::max(box.width(), box.height()); r += step) {
        for (int i = 0; i < 8; ++i) {
            const QPoint pixel =
                view->mapFromScene(centre + QPointF(std::cos(i * M_PI / 4), std::sin(i * M_PI / 4)) * r);
            for (QGraphicsItem* under : view->items(pixel)) {
                if (under->flags() & (QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable)) {
                    if (under == item) {
                        return view->mapToScene(pixel);
                    }
                    break;
                }
            }
            if (r == 0) {
                break;
            }
        }
    }
    return QPointF(qQNaN(), qQNaN());
}

/// A drag of the selection: a move, a rotation (Ctrl on a corner) or a scaling (a corner). In
/// animation mode it keys joints or images at a frame; in set-up mode it changes images' poses.
bool UndoRun::dragTarget(bool animationMode)
{
    setAnimationMode(animationMode);
    Skeleton::Node* node = animationMode && chance(60) ? anyNode() : nullptr;
    QList<QGraphicsItem*> targets = node ? QList<QGraphicsItem*>{node->joint} : someImages();
    if (targets.isEmpty()) {
        return false;
    }
    select(targets);
    int frame = -1;
    if (animationMode) {
        frame = chooseFrame(node, node ? nullptr : m_window->skeleton()->assetByItem(targets.first()));
    }
    ObjectManipulator* manipulator = m_window->manipulator();
    TSGraphicsView* view = m_window->graphicsView();
    const int kind = m_random.bounded(3); // 0 move, 1 rotate, 2 scale
    QPointF from;
    QPointF to;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const QPolygonF outline = manipulator->polygon();
    if (kind == 0 || outline.size() < 4) {
        from = pressablePoint(m_window->graphicsView(), targets.first());
        if (qIsNaN(from.x())) {
            return false;
        }
        to = from + QPointF(between(-60, 60), between(-60, 60));
        if (chance(15)) {
            modifiers |= Qt::ShiftModifier;
        }
    } else {
        const int corner = pick(4);
        from = outline.at(corner);
        const QPointF centre = outline.boundingRect().center();
        if (kind == 1) {
            modifiers = Qt::ControlModifier;
            const double angle = between(-2.5, 2.5);
            const QPointF r = from - centre;
            to = centre + QPointF(r.x() * std::cos(angle) - r.y() * std::sin(angle),
                                  r.x() * std::sin(angle) + r.y() * std::cos(angle));
        } else {
            to = centre + (from - centre) * between(0.4, 1.8) + QPointF(between(-5, 5), between(-5, 5));
            if (chance(20)) {
                modifiers |= Qt::AltModifier;
            }
        }
    }
    static const char* const kinds[] = {"move", "rotate", "scale"};
    note(QStringLiteral("%1 %2 %3 from %4 to %5%6%7")
             .arg(animationMode ? QStringLiteral("animation mode, frame %1:").arg(frame) : QStringLiteral("set-up:"),
                  QLatin1String(kinds[kind]), node ? QStringLiteral("joint \"%1\"").arg(node->name)
                                                   : QStringLiteral("%1 image(s)").arg(targets.size()),
                  text(from), text(to), QLatin1String(modifiers & Qt::ShiftModifier ? " with Shift" : ""),
                  QLatin1String(modifiers & Qt::AltModifier ? " with Alt" : "")));
    test::pressAt(view, from, modifiers);
    for (int i = 1; i <= 3; ++i) {
        test::moveTo(view, from + (to - from) * (i / 3.0), modifiers);
    }
    test::releaseAt(view, to, modifiers);
    return true;
}

void UndoRun::reparentNode()
{
    Skeleton::Node* node = anyNode();
    Skeleton::Node* parent = chance(85) ? anyNode() : nullptr;
    if (!node) {
        return;
    }
    note(QStringLiteral("reparent joint \"%1\" under %2")
                              .arg(node->name, parent ? QStringLiteral("\"%1\"").arg(parent->name) : "the top"));
    m_window->history()->changeNodeParent(node->joint, parent ? parent->joint : nullptr);
}

void UndoRun::reparentImage()
{
    Skeleton::Asset* image = anyImage();
    Skeleton::Node* node = anyNode();
    if (!image || !node) {
        return;
    }
    note(QStringLiteral("bind image \"%1\" to joint \"%2\"").arg(image->name, node->name));
    m_window->history()->changeAssetParent(image->placeholder, node->joint);
}

void UndoRun::canvasSize()
{
    // What the canvas label takes when typed in.
    const QString typed = QStringLiteral("%1 x %2").arg(64 + m_random.bounded(1900)).arg(64 + m_random.bounded(1900));
    const std::optional<QRectF> rect = AnimationCanvas::rectForLabelText(m_window->animationCanvas()->canvasRect(), typed);
    note(QStringLiteral("canvas size \"%1\"").arg(typed));
    if (rect) {
        m_window->history()->setCanvasSize(*rect);
    }
}

void UndoRun::frameCount()
{
    const int frames = 2 + m_random.bounded(150);
    note(QStringLiteral("frame count %1").arg(frames));
    m_window->animationEditor()->framesEdit()->setValue(frames);
}

void UndoRun::addAnimation()
{
    const QString name = QStringLiteral("Take %1").arg(m_random.bounded(5));
    note(QStringLiteral("new animation \"%1\"").arg(name));
    m_window->history()->addAnimation(name);
}

void UndoRun::moveAxes()
{
    // As a drag of the guides ends: they already cross where they were dragged to.
    SceneAxes* axes = m_window->history()->axes();
    const QPointF from = axes->crossing();
    const QPointF to(between(-200, 200), between(-200, 200));
    note(QStringLiteral("move the axes to %1").arg(text(to)));
    axes->setCrossing(to);
    m_window->history()->changeAxesPosition(from, to);
}

void UndoRun::selectAnimation()
{
    const QList<DocumentController::Animation> animations = m_window->document()->animations();
    if (animations.isEmpty()) {
        return;
    }
    const QString identifier = animations.at(pick(animations.size())).identifier;
    note(QStringLiteral("choose animation \"%1\"").arg(identifier));
    m_window->document()->selectAnimation(identifier);
}

void UndoRun::step()
{
    struct Kind
    {
        const char* name;
        int weight;
    };
    static const Kind kinds[] = {{"add node", 4},      {"delete", 3},         {"delete keys", 3},  {"remove branch", 1},
                                 {"paste", 2},         {"arrange", 2},        {"import", 2},       {"drop", 2},
                                 {"set-up drag", 8},   {"keyed drag", 16},    {"reparent node", 2}, {"reparent image", 2},
                                 {"canvas size", 1},   {"frames", 2},         {"add animation", 1}, {"axes", 1},
                                 {"choose animation", 3}};
    int total = 0;
    for (const Kind& kind : kinds) {
        total += kind.weight;
    }
    int roll = m_random.bounded(total);
    int chosen = 0;
    while (roll >= kinds[chosen].weight) {
        roll -= kinds[chosen].weight;
        ++chosen;
    }
    // Panels that show or hide with the selection resize the view: settled before every step,
    // the same seed makes the same gestures.
    QCoreApplication::processEvents();
    const int before = m_window->history()->index();
    const int noted = m_steps.size();
    switch (chosen) {
    case 0: addNode(); break;
    case 1: deleteSelection(); break;
    case 2: deleteKeys(); break;
    case 3: removeBranch(); break;
    case 4: copyPaste(); break;
    case 5: arrange(); break;
    case 6: importImages(false); break;
    case 7: importImages(true); break;
    case 8: dragTarget(false); break;
    case 9: dragTarget(true); break;
    case 10: reparentNode(); break;
    case 11: reparentImage(); break;
    case 12: canvasSize(); break;
    case 13: frameCount(); break;
    case 14: addAnimation(); break;
    case 15: moveAxes(); break;
    default: selectAnimation(); break;
    }
    if (m_steps.size() == noted) {
        note(QStringLiteral("%1: nothing to do it on").arg(QLatin1String(kinds[chosen].name)));
    }
    if (m_window->history()->index() != before) {
        ++m_recorded[QLatin1String(kinds[chosen].name)];
    }
}

QString UndoRun::run(int steps)
{
    closeWindow();
    m_steps.clear();
    m_recorded.clear();
    if (!openWindow(m_document, true)) {
        return QStringLiteral("cannot open %1").arg(m_document);
    }
    HistoryManager* history = m_window->history();
    std::map<int, DocumentState> states;
    states[0] = snapshot();
    const DocumentState start = states[0];
    for (int i = 0; i < steps; ++i) {
        step();
        states[history->index()] = snapshot();
    }
    const DocumentState final = snapshot();
    const int count = history->index();
    if (history->count() != count) {
        return QStringLiteral("the history holds %1 steps beyond its index %2").arg(history->count()).arg(count);
    }
    for (int index = count; index > 0; --index) {
        history->undo();
        const auto found = states.find(index - 1);
        if (found == states.end()) {
            continue;
        }
        const QStringList differences = compare(found->second, snapshot(), false);
        if (!differences.isEmpty()) {
            return QStringLiteral("after undoing back to history index %1 (\"%2\" undone):\n  %3")
                .arg(index - 1)
                .arg(history->text(index - 1), differences.join(QStringLiteral("\n  ")));
        }
    }
    if (const QStringList d = compare(start, snapshot(), false); !d.isEmpty()) {
        return QStringLiteral("after undoing everything:\n  ") + d.join(QStringLiteral("\n  "));
    }
    for (int index = 1; index <= count; ++index) {
        history->redo();
        const auto found = states.find(index);
        if (found == states.end()) {
            continue;
        }
        const QStringList differences = compare(found->second, snapshot(), false);
        if (!differences.isEmpty()) {
            return QStringLiteral("after redoing up to history index %1 (\"%2\" redone):\n  %3")
                .arg(index)
                .arg(history->text(index - 1), differences.join(QStringLiteral("\n  ")));
        }
    }
    const DocumentState redone = snapshot();
    if (const QStringList d = compare(final, redone, false); !d.isEmpty()) {
        return QStringLiteral("after redoing everything:\n  ") + d.join(QStringLiteral("\n  "));
    }
    // Saved and opened in a fresh editor, the document is what the format keeps of it.
    const QString path = m_folder + QStringLiteral("/saved.bsdoc");
    QString error;
    if (!m_window->document()->save(path, &error)) {
        return QStringLiteral("cannot save: ") + error;
    }
    closeWindow();
    if (!openWindow(path, false)) {
        return QStringLiteral("cannot open the saved document");
    }
    if (const QStringList d = compare(storedForm(redone), snapshot(), true); !d.isEmpty()) {
        return QStringLiteral("after saving and opening again:\n  ") + d.join(QStringLiteral("\n  "));
    }
    closeWindow();
    return QString();
}

quint32 seedFromEnvironment()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("BONESTAGE_SEED").toUInt(&ok);
    return ok ? seed : 1u;
}

int stepsFromEnvironment()
{
    bool ok = false;
    const int steps = qEnvironmentVariable("BONESTAGE_STEPS").toInt(&ok);
    return ok && steps > 0 ? steps : 300;
}

} // namespace

class TestUndoProperty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyEditUndoesRedoesAndSaves_data();
    void everyEditUndoesRedoesAndSaves();
    void choosingTheCurrentAnimationKeepsItsEdits();
    void addingAnAnimationByAnExistingNameIsUndoneWithoutLosingIt();
    void imageKeysOutlastLeavingTheirAnimationTwice();
    void removedNodeKeysOutlastLeavingTheirAnimationTwice();
    void undoingFirstKeysGivesBackTheTracksAsTheyWere();
    void undoingANewNodeLeavesNoTracksInAnyAnimation();
    void guidesComeBackExactlyWithTheirAnimation();
    void undoingALengthLeavesDefaultTracksOutAfterLeavingTheAnimation();
    void anImageNamedLikeANodeKeepsItsOwnKeys();
    void aKeyedDragOfSeveralImagesKeysEachOnce();
    void aNewNodeIsWhereTheReopenedDocumentHasIt();
    void restackingSeveralImagesIsUndoneToTheOldOrder_data();
    void restackingSeveralImagesIsUndoneToTheOldOrder();

private:
    /// A window on a shipped document, with a key written on joint at frame 10 of the current
    /// animation; false when that cannot be done.
    std::unique_ptr<TSMainWindow> openWithKey(const QString& document, const QString& joint);
};

void TestUndoProperty::initTestCase()
{
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(kShipped + "/animations");
}

void TestUndoProperty::everyEditUndoesRedoesAndSaves_data()
{
    QTest::addColumn<QString>("document");
    for (const char* name : {"Biped", "Quadruped", "Tentacle"}) {
        QTest::newRow(name) << kShipped + QStringLiteral("/projects/%1.bsdoc").arg(QLatin1String(name));
    }
}

void TestUndoProperty::everyEditUndoesRedoesAndSaves()
{
    QFETCH(QString, document);
    test::Boxes boxes;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const quint32 seed = seedFromEnvironment();
    const int steps = stepsFromEnvironment();
    auto runPrefix = [&](int n, QStringList* log, QMap<QString, int>* recorded = nullptr) {
        UndoRun run(document, seed, folder.path());
        const QString failure = run.run(n);
        *log = run.steps();
        if (recorded) {
            *recorded = run.recorded();
        }
        return failure;
    };
    QStringList log;
    QMap<QString, int> recorded;
    QString failure = runPrefix(steps, &log, &recorded);
    if (!failure.isEmpty()) {
        // The shortest failing prefix: the prefix of passing is below, of failing above.
        int passing = 0;
        int failing = steps;
        while (failing - passing > 1) {
            const int middle = (passing + failing) / 2;
            QStringList shorter;
            const QString result = runPrefix(middle, &shorter);
            if (result.isEmpty()) {
                passing = middle;
            } else {
                failing = middle;
                failure = result;
                log = shorter;
            }
        }
        QFAIL(qPrintable(QStringLiteral("seed %1 (BONESTAGE_SEED=%1), fails after %2 of %3 steps, %4\nsteps:\n%5")
                             .arg(seed)
                             .arg(failing)
                             .arg(steps)
                             .arg(failure, log.join(QLatin1Char('\n')))));
    }
    QStringList counts;
    for (auto it = recorded.cbegin(); it != recorded.cend(); ++it) {
        counts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    }
    qInfo("seed %u, %d steps, recorded: %s; steps hash %08x", seed, steps, qPrintable(counts.join(", ")),
          qHash(log.join(QLatin1Char('\n'))));
    // The sequence really edited: drags were keyed and posed, nodes and images came and went.
    for (const char* kind : {"keyed drag", "set-up drag", "add node", "import"}) {
        QVERIFY2(recorded.value(QLatin1String(kind)) > 0, kind);
    }
}

std::unique_ptr<TSMainWindow> TestUndoProperty::openWithKey(const QString& document, const QString& joint)
{
    auto window = std::make_unique<TSMainWindow>();
    if (!window->loadDocument(kShipped + "/projects/" + document + ".bsdoc", true, document)) {
        return nullptr;
    }
    Skeleton* skeleton = window->skeleton();
    Skeleton::Node* node = skeleton->nodeByName(joint);
    if (!node) {
        return nullptr;
    }
    skeleton->setAnimationMode(true);
    skeleton->showFrame(10);
    node->joint->setTransform(QTransform().rotate(-30) * node->joint->transform());
    skeleton->onItemSetRotationKey(node->joint);
    return window;
}

void TestUndoProperty::choosingTheCurrentAnimationKeepsItsEdits()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
    QVERIFY(window);
    const std::vector<bez3> keyed = trackState(*window->skeleton()->nodeByName("segment_2")->animation).channels[2];
    // The chooser again on the animation shown: nothing to load, nothing lost.
    DocumentController* document = window->document();
    QVERIFY(document->selectAnimation(document->currentAnimation()));
    QVERIFY(same(trackState(*window->skeleton()->nodeByName("segment_2")->animation).channels[2], keyed));
    window->history()->undo();
    QVERIFY(!same(trackState(*window->skeleton()->nodeByName("segment_2")->animation).channels[2], keyed));
    document->setModified(false);
}

void TestUndoProperty::addingAnAnimationByAnExistingNameIsUndoneWithoutLosingIt()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
    QVERIFY(window);
    HistoryManager* history = window->history();
    DocumentController* document = window->document();
    const QString take = history->addAnimation("Take");
    const QString first = document->animations().first().identifier;
    QVERIFY(document->selectAnimation(first));
    const int animations = document->animations().size();
    const std::vector<bez3> keyed = trackState(*window->skeleton()->nodeByName("segment_2")->animation).channels[2];
    // "Take" exists: asking for it again only shows it, and undoing that keeps it.
    QCOMPARE(history->addAnimation("Take"), take);
    QCOMPARE(document->currentAnimation(), take);
    history->undo();
    QCOMPARE(document->animations().size(), animations);
    QCOMPARE(document->currentAnimation(), first);
    QVERIFY(same(trackState(*window->skeleton()->nodeByName("segment_2")->animation).channels[2], keyed));
    history->redo();
    QCOMPARE(document->currentAnimation(), take);
    document->setModified(false);
}

void TestUndoProperty::imageKeysOutlastLeavingTheirAnimationTwice()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
    QVERIFY(window);
    Skeleton* skeleton = window->skeleton();
    QVERIFY(!skeleton->images().empty());
    Skeleton::Asset* image = skeleton->images().front().get();
    image->placeholder->setTransform(QTransform().rotate(20) * image->placeholder->transform());
    skeleton->onItemSetRotationKey(image->placeholder);
    QVERIFY(image->animation && image->animation->hasKeys());
    const TrackState keyed = trackState(*image->animation);
    DocumentController* document = window->document();
    const QString shown = document->currentAnimation();
    const QString other = window->history()->addAnimation("Other");
    for (int round = 0; round < 2; ++round) {
        QVERIFY(document->selectAnimation(shown));
        QVERIFY(document->selectAnimation(other));
    }
    QVERIFY(document->selectAnimation(shown));
    QVERIFY(image->animation);
    QVERIFY(same(trackState(*image->animation).channels[2], keyed.channels[2]));
    document->setModified(false);
}

void TestUndoProperty::removedNodeKeysOutlastLeavingTheirAnimationTwice()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
    QVERIFY(window);
    Skeleton* skeleton = window->skeleton();
    HistoryManager* history = window->history();
    DocumentController* document = window->document();
    const TrackState keyed = trackState(*skeleton->nodeByName("segment_2")->animation);
    history->removeNodeBranch(skeleton->nodeByName("segment_2"));
    QVERIFY(!skeleton->nodeByName("segment_2"));
    const QString shown = document->currentAnimation();
    const QString other = history->addAnimation("Other");
    for (int round = 0; round < 2; ++round) {
        QVERIFY(document->selectAnimation(shown));
        QVERIFY(document->selectAnimation(other));
    }
    // Undoing the removal (after the new animation) brings the node back with its keys.
    history->undo();
    history->undo();
    QCOMPARE(document->currentAnimation(), shown);
    Skeleton::Node* node = skeleton->nodeByName("segment_2");
    QVERIFY(node && node->animation);
    QVERIFY(same(trackState(*node->animation).channels[2], keyed.channels[2]));
    document->setModified(false);
}

void TestUndoProperty::undoingFirstKeysGivesBackTheTracksAsTheyWere()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
    QVERIFY(window);
    Skeleton* skeleton = window->skeleton();
    HistoryManager* history = window->history();
    // A new node's tracks have no key yet; the image has no tracks of its own.
    Skeleton::Node* node = history->addNodeToSelected(skeleton->nodeByName("segment_1")->joint);
    QVERIFY(node && node->animation && !node->animation->hasKeys());
    Skeleton::Asset* image = skeleton->images().front().get();
    QVERIFY(!image->animation);
    auto tracks = [skeleton] {
        QStringList all;
        for (const auto& object : skeleton->tracks()) {
            all << QStringLiteral("%1 %2 %3")
                       .arg(object->name(), number(object->duration()))
                       .arg(object->isDurationExplicit());
        }
        return all;
    };
    const QStringList before = tracks();
    const int index = history->index();
    skeleton->showFrame(20);
    node->joint->setTransform(QTransform().rotate(-30) * node->joint->transform());
    skeleton->onItemSetRotationKey(node->joint);
    image->placeholder->setTransform(QTransform().rotate(20) * image->placeholder->transform());
    skeleton->onItemSetRotationKey(image->placeholder);
    QVERIFY(node->animation->hasKeys() && image->animation && image->animation->hasKeys());
    const QStringList keyed = tracks();
    QCOMPARE(history->index(), index + 2);
    history->undo();
    history->undo();
    QCOMPARE(tracks(), before);
    QVERIFY(!image->animation);
    history->redo();
    history->redo();
    QCOMPARE(tracks(), keyed);
    window->document()->setModified(false);
}

void TestUndoProperty::undoingANewNodeLeavesNoTracksInAnyAnimation()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    HistoryManager* history = window->history();
    DocumentController* document = window->document();
    const QString shown = document->currentAnimation();
    QString other;
    for (const DocumentController::Animation& animation : document->animations()) {
        other = animation.identifier == shown ? other : animation.identifier;
    }
    QVERIFY(!other.isEmpty());
    const DocumentState before = snapshotOf(*window);
    // A new node, shown in another animation too, and a child added to it: both taken back.
    Skeleton::Node* added = history->addNodeToSelected(window->skeleton()->nodeByName("head")->joint);
    QVERIFY(added);
    QVERIFY(document->selectAnimation(other));
    QVERIFY(document->selectAnimation(shown));
    const DocumentState one = snapshotOf(*window);
    QVERIFY(history->addNodeToSelected(added->joint));
    history->undo();
    QStringList differences = compare(one, snapshotOf(*window), true);
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
    history->undo();
    differences = compare(before, snapshotOf(*window), true);
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
    document->setModified(false);
}

void TestUndoProperty::guidesComeBackExactlyWithTheirAnimation()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    DocumentController* document = window->document();
    SceneAxes* axes = window->history()->axes();
    const QString shown = document->currentAnimation();
    axes->setCrossing(QPointF(-164.918046, -14.1821294));
    const QPointF crossing = axes->crossing();
    const QString other = window->history()->addAnimation("Other");
    QVERIFY(document->selectAnimation(shown));
    QVERIFY(axes->crossing().x() == crossing.x() && axes->crossing().y() == crossing.y());
    QVERIFY(document->selectAnimation(other));
    document->setModified(false);
}

void TestUndoProperty::undoingALengthLeavesDefaultTracksOutAfterLeavingTheAnimation()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    HistoryManager* history = window->history();
    DocumentController* document = window->document();
    Skeleton* skeleton = window->skeleton();
    const QString shown = document->currentAnimation();
    // A new animation has default tracks only; a length makes them the animation's.
    const QString take = history->addAnimation("Take");
    const DocumentState before = snapshotOf(*window);
    history->deleteAssets({skeleton->images().front().get()});
    history->changeAnimationLength(skeleton->frameCount(), 40);
    QVERIFY(document->selectAnimation(shown));
    QVERIFY(document->selectAnimation(take));
    history->undo();
    history->undo();
    const QStringList differences = compare(before, snapshotOf(*window), true);
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
    document->setModified(false);
}

void TestUndoProperty::anImageNamedLikeANodeKeepsItsOwnKeys()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    Skeleton* skeleton = window->skeleton();
    DocumentController* document = window->document();
    const QString shown = document->currentAnimation();
    // In a new animation the head node has default tracks only; its image is named "head" too.
    const QString take = window->history()->addAnimation("Take");
    const DocumentState before = snapshotOf(*window);
    Skeleton::Asset* image = nullptr;
    for (const auto& asset : skeleton->images()) {
        image = asset->name == QLatin1String("head") ? asset.get() : image;
    }
    QVERIFY(image);
    image->placeholder->setTransform(QTransform().rotate(20) * image->placeholder->transform());
    skeleton->onItemSetRotationKey(image->placeholder);
    QVERIFY(document->selectAnimation(shown));
    QVERIFY(document->selectAnimation(take));
    QVERIFY(image->animation && image->animation->hasKeys());
    QVERIFY(!skeleton->nodeByName("head")->animation->hasKeys());
    window->history()->undo();
    const QStringList differences = compare(before, snapshotOf(*window), true);
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
    document->setModified(false);
}

void TestUndoProperty::aKeyedDragOfSeveralImagesKeysEachOnce()
{
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->fitCanvas();
    Skeleton* skeleton = window->skeleton();
    window->manipulator()->setAnimationMode(true);
    HistoryManager* history = window->history();
    // Each key pushed poses the skeleton again, which sets the manipulator's targets anew while
    // the drag's end goes through them.
    for (int round = 0; round < 6; ++round) {
        QList<QGraphicsItem*> images;
        for (int i = 0; i < 3; ++i) {
            images << skeleton->images()[static_cast<size_t>(2 + 3 * i + round)]->placeholder;
        }
        window->manipulator()->setTargets(images);
        const QPointF from = pressablePoint(window->graphicsView(), images.first());
        QVERIFY(!qIsNaN(from.x()));
        const int index = history->index();
        test::drag(window->graphicsView(), from, from + QPointF(15, 10));
        QCOMPARE(history->index(), index + 3);
        for (QGraphicsItem* image : images) {
            const Skeleton::Asset* asset = skeleton->assetByItem(image);
            QVERIFY(asset->animation && asset->animation->hasKeys());
        }
    }
    window->document()->setModified(false);
}

void TestUndoProperty::aNewNodeIsWhereTheReopenedDocumentHasIt()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("added.bsdoc");
    QPointF position;
    {
        const std::unique_ptr<TSMainWindow> window = openWithKey("Tentacle", "segment_2");
        QVERIFY(window);
        // Where the add-node button points, between pixels.
        Skeleton::Node* added = window->history()->addNodeToSelected(
            window->skeleton()->nodeByName("segment_1")->joint, QPointF(10.625, -33.375));
        QVERIFY(added);
        position = added->position;
        QVERIFY(std::abs(position.x() - 10.625) <= 0.5 && std::abs(position.y() + 33.375) <= 0.5);
        QString error;
        QVERIFY2(window->document()->save(path, &error), qPrintable(error));
    }
    TSModelController::destroyInstance();
    TSMainWindow reopened;
    QVERIFY(reopened.loadDocument(path, false));
    const Skeleton::Node* node = reopened.skeleton()->nodeByName("New node 1");
    QVERIFY(node);
    QCOMPARE(node->position, position);
    QVERIFY(node->position.x() == position.x() && node->position.y() == position.y());
}

void TestUndoProperty::restackingSeveralImagesIsUndoneToTheOldOrder_data()
{
    QTest::addColumn<int>("action");
    for (int action = Skeleton::BringToFront; action <= Skeleton::SendToBack; ++action) {
        QTest::newRow(qPrintable(QString::number(action))) << action;
    }
}

void TestUndoProperty::restackingSeveralImagesIsUndoneToTheOldOrder()
{
    QFETCH(int, action);
    const std::unique_ptr<TSMainWindow> window = openWithKey("Biped", "head");
    QVERIFY(window);
    Skeleton* skeleton = window->skeleton();
    QVERIFY(skeleton->images().size() >= 10);
    auto order = [skeleton] {
        QList<const Skeleton::Asset*> images;
        for (const auto& image : skeleton->images()) {
            images << image.get();
        }
        return images;
    };
    const QList<const Skeleton::Asset*> before = order();
    // Two images apart from each other and from both ends.
    window->history()->changeAssetszValue({skeleton->images()[3]->placeholder, skeleton->images()[7]->placeholder},
                                          static_cast<Skeleton::ZValueChangeAction>(action));
    QVERIFY(order() != before);
    window->history()->undo();
    QCOMPARE(order(), before);
    window->document()->setModified(false);
}

BONESTAGE_WIDGETS_TEST_MAIN(TestUndoProperty)
#include "tst_UndoProperty.moc"
