// Undo for every edit, as a property: a long random sequence of edits made through the editor's own
// entry points on a shipped document, then every step undone, redone, saved and opened again. The
// whole document must come back exactly each time. The seed comes from BONESTAGE_SEED (the number
// of steps from BONESTAGE_STEPS); a failure is shrunk to its shortest failing prefix and reported
// with the seed and the steps, so it replays.
#include "AnimationEditorPanel.h"
#include "AnimationModelClasses.h"
#include "DocumentController.h"
#include "EditController.h"
#include "EditingModes.h"
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
#include <QLineEdit>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <optional>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

// The document ------------------------------------------------------------------------------------

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

QString number(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString text(const QPointF& p)
{
    return QStringLiteral("(%1, %2)").arg(number(p.x()), number(p.y()));
}

/// The whole document as lines of text, every value exact: as the editor holds it or, asSaved, as
/// a saved document opens with it (floats as "%f", points and keys as "%.3f", one name per image;
/// node positions are whole, so they come back as they were). For each animation, what leaving it
/// or saving keeps: the animation shown from the skeleton, the others from the models. Which
/// animation is current only a save keeps (choosing one is no edit the history brings back).
QStringList documentLines(const TSMainWindow& window, bool asSaved, bool withCurrent)
{
    // A float field of the file, or an exact value.
    auto real = [asSaved](double v, const char* format = "%f") {
        return number(asSaved ? stored(static_cast<float>(v), format) : v);
    };
    auto point = [&real](const QPointF& p) {
        return QStringLiteral("(%1, %2)").arg(real(p.x(), "%.3f"), real(p.y(), "%.3f"));
    };
    auto transform = [asSaved](const QTransform& t) -> QString {
        std::array<qreal, 9> m{t.m11(), t.m12(), t.m13(), t.m21(), t.m22(),
                               t.m23(), t.m31(), t.m32(), t.m33()};
        if (asSaved) {
            for (qreal& v : m) {
                v = stored(static_cast<float>(v), "%f");
            }
            // A rest pose read back that cannot be undone is the identity.
            if (!QTransform(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]).isInvertible()) {
                m = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            }
        }
        QStringList values;
        for (qreal v : m) {
            values << number(v);
        }
        return QLatin1Char('[') + values.join(QLatin1Char(' ')) + QLatin1Char(']');
    };
    // Colours as the editor keeps them (16 bits a channel).
    auto colour = [asSaved](const QColor& c) {
        auto f = [](qreal v) { return stored(static_cast<float>(v), "%f"); };
        const QColor read =
            asSaved ? QColor::fromRgbF(f(c.redF()), f(c.greenF()), f(c.blueF()), f(c.alphaF())) : c;
        return QString::number(static_cast<quint64>(read.rgba64()), 16);
    };
    QStringList lines;
    Skeleton* skeleton = window.skeleton();
    auto jointName = [skeleton](const QGraphicsItem* item) {
        const Skeleton::Node* node = item ? skeleton->nodeByItem(item) : nullptr;
        return !item ? QString() : node && node->joint == item ? node->name : QStringLiteral("<not a joint>");
    };
    for (const auto& n : skeleton->nodes()) {
        lines << QStringLiteral(
                     "node \"%1\": default name \"%2\", parent \"%3\", joint under \"%4\", rest %5, at %6, "
                     "size %7, z order %8, bone colour %9")
                     .arg(n->name, n->defaultName, n->parent, jointName(n->joint->parentItem()),
                          transform(n->restTransform), point(n->position), real(n->size), real(n->zOrder),
                          colour(n->boneColor));
    }
    for (const auto* list : {&skeleton->images(), &skeleton->dummyImages()}) {
        for (const auto& m : *list) {
            const QImage picture = m->item->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            const QByteArray bits(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
            const QString name = asSaved && m->name.isEmpty() ? m->nodeName : m->name;
            lines << QStringLiteral(
                         "image \"%1\": asset name \"%2\", node \"%3\", under \"%4\", tags [%5], rest %6, "
                         "z %7, picture %8 #%9")
                         .arg(name, asSaved ? m->name : m->assetName, m->nodeName,
                              jointName(m->placeholder->parentItem()), m->tags.join(QLatin1Char(',')),
                              transform(m->restTransform), number(m->item->zValue()),
                              text(QPointF(picture.width(), picture.height())),
                              QString::number(qHash(bits), 16));
        }
    }
    const DocumentController* document = window.document();
    // In the order of their names: opening a document lists the animations it holds first.
    QList<DocumentController::Animation> animations = document->animations();
    std::sort(animations.begin(), animations.end(),
              [](const auto& a, const auto& b) { return a.identifier < b.identifier; });
    for (const DocumentController::Animation& listed : animations) {
        QPointF axes = window.history()->axes()->crossing();
        const bool shown = listed.identifier == document->currentAnimation();
        const AnimationTracks loaded =
            shown ? AnimationTracks() : document->loadTracks(listed.identifier, &axes);
        std::vector<const AnimatedObject*> tracks;
        for (const auto& object : *(shown ? &skeleton->tracks() : &loaded)) {
            if (!shown || object->inUse()) {
                tracks.push_back(object.get());
            }
        }
        // Only the order of tracks of one name means something (binding takes the first that
        // matches): tracks that no animation keeps yet take their place in it when they join.
        std::stable_sort(tracks.begin(), tracks.end(), [](const AnimatedObject* a, const AnimatedObject* b) {
            return a->name() < b->name();
        });
        const QString at = QStringLiteral("animation \"%1\"").arg(listed.identifier);
        lines << QStringLiteral("%1: name \"%2\", axes %3").arg(at, listed.name, point(axes));
        for (size_t t = 0; t < tracks.size(); ++t) {
            // Whether a length is explicit is not stored: opening makes every stored length explicit.
            const QString of = QStringLiteral("%1 track %2 \"%3\"").arg(at).arg(t).arg(tracks[t]->name());
            lines << QStringLiteral("%1: default name \"%2\", duration %3")
                         .arg(of, tracks[t]->defaultName(), real(tracks[t]->duration()));
            for (int c = 0; c < AnimatedObject::kChannelCount; ++c) {
                const TSAnimationCurve& curve = tracks[t]->channel(c);
                QStringList keys;
                for (const bez3* k = curve.keys(); k != curve.keys() + curve.keyCount(); ++k) {
                    keys << QStringLiteral("{%1 %2 %3 %4}")
                                .arg(real(k->time, "%.3f"), real(k->value, "%.3f"), real(k->inHandle, "%.3f"),
                                     real(k->outHandle, "%.3f"));
                }
                // Binding drops a channel's only key when it restates the channel's default (a
                // documented clean-up that leaves every pose as it was).
                const float only = curve.keyCount() == 1 ? curve.keys()->value : qQNaN();
                if ((asSaved ? stored(only, "%.3f") : only) == AnimatedObject::channelDefault(c)) {
                    keys.clear();
                }
                lines << QStringLiteral("%1 channel %2: %3").arg(of).arg(c).arg(keys.join(QLatin1Char(' ')));
            }
        }
    }
    const QRectF canvas = window.animationCanvas()->canvasRect();
    auto side = [asSaved](double v) { return number(asSaved ? stored(v, "%.4f") : v); };
    lines << QStringLiteral("canvas at (%1, %2), %3 x %4")
                 .arg(side(canvas.x()), side(canvas.y()), side(canvas.width()), side(canvas.height()));
    if (withCurrent) {
        lines << QStringLiteral("current animation \"%1\", %2 frames")
                     .arg(document->currentAnimation())
                     .arg(skeleton->frameCount());
    }
    return lines;
}

/// Empty when the documents agree, else the lines each has that the other has not, a few of each.
QString differences(const QStringList& expected, const QStringList& actual)
{
    if (expected == actual) {
        return QString();
    }
    QStringList out;
    auto missing = [&out](const QStringList& lines, const QStringList& other, const QString& prefix) {
        const QSet<QString> there(other.begin(), other.end());
        int shown = 0;
        for (const QString& line : lines) {
            if (!there.contains(line) && shown++ < 5) {
                out << prefix + line;
            }
        }
    };
    missing(expected, actual, QStringLiteral("\n  expected "));
    missing(actual, expected, QStringLiteral("\n  got      "));
    for (int i = 0; out.isEmpty(); ++i) {
        if (expected.value(i) != actual.value(i)) {
            out << QStringLiteral("\n  the same lines in another order, from %1").arg(expected.value(i));
        }
    }
    return out.join(QString());
}

/// A scene point where item is the first item under the mouse that takes presses: the view hands
/// a press to the items under the whole pixel.
QPointF pressablePoint(QGraphicsView* view, const QGraphicsItem* item)
{
    const QRectF box = item->sceneBoundingRect();
    const double step = std::max(0.5, std::min(box.width(), box.height()) / 12);
    for (double r = 0; r < std::max(box.width(), box.height()); r += step) {
        for (int i = 0; i < (r == 0 ? 1 : 8); ++i) {
            const QPoint pixel = view->mapFromScene(box.center() + QLineF::fromPolar(r, 45.0 * i).p2());
            for (QGraphicsItem* under : view->items(pixel)) {
                if (under->flags() & (QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable)) {
                    if (under == item) {
                        return view->mapToScene(pixel);
                    }
                    break;
                }
            }
        }
    }
    return QPointF(qQNaN(), qQNaN());
}

// One run ---------------------------------------------------------------------------------------

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
    bool openWindow(const QString& path, bool isTemplate)
    {
        m_window = std::make_unique<TSMainWindow>();
        m_window->resize(1200, 760);
        // "Dont show this message again" was ticked: images selected while recording end it quietly.
        m_window->setProperty(EditingModes::kWarnedProperty, true);
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
    void closeWindow()
    {
        if (m_window) {
            m_window->document()->setModified(false);
            m_window.reset();
            TSModelController::destroyInstance();
        }
    }
    QStringList state() const { return documentLines(*m_window, false, false); }
    void step();
    void note(const QString& what) { m_steps << QStringLiteral("%1. %2").arg(m_steps.size() + 1).arg(what); }

    int pick(int count) { return count > 0 ? m_random.bounded(count) : -1; }
    double between(double low, double high) { return low + m_random.generateDouble() * (high - low); }
    bool chance(int percent) { return m_random.bounded(100) < percent; }
    template <class T> T* any(const std::vector<std::unique_ptr<T>>& list)
    {
        return list.empty() ? nullptr : list[static_cast<size_t>(pick(static_cast<int>(list.size())))].get();
    }
    Skeleton::Node* anyNode() { return any(m_window->skeleton()->nodes()); }
    Skeleton::Asset* anyImage() { return any(m_window->skeleton()->images()); }
    QList<QGraphicsItem*> someImages()
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
    void select(const QList<QGraphicsItem*>& items) { m_window->manipulator()->setTargets(items); }
    /// "Animation mode" on, so joints can be picked on the canvas.
    void showJoints();
    /// The key button: while recording, drags and typed values of joints write keys.
    void setRecording(bool on)
    {
        if (QToolButton* key = m_window->animationEditor()->keyButton(); key->isChecked() != on) {
            QTest::mouseClick(key, Qt::LeftButton);
        }
    }
    int chooseFrame(const AnimatedObject* tracks);
    void typeInto(QLineEdit* field, const QString& text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QString writePng();

    void addNode();
    void deleteSelection();
    void deleteKeys();
    void copyPaste();
    void arrange();
    void importImages(bool drop);
    void dragTarget(bool recording);
    void typeIntoField();
    void reparent();
    void animationEdit();

    QString m_document;
    QRandomGenerator m_random;
    QString m_folder;
    std::unique_ptr<TSMainWindow> m_window;
    QStringList m_steps;
    QMap<QString, int> m_recorded;
    int m_files = 0;
};

void UndoRun::showJoints()
{
    TSGraphicsView* view = m_window->graphicsView();
    for (TSGraphicsButton* button : view->buttons()) {
        if (button->toolTip() == QLatin1String("Animation mode") && !button->isChecked()) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, button->rect().center());
        }
    }
}

/// A frame on the timeline: often one that holds a key of the tracks, or one next to it.
int UndoRun::chooseFrame(const AnimatedObject* tracks)
{
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    QList<int> keyed;
    for (int c = 0; tracks && c < AnimatedObject::kChannelCount; ++c) {
        keyed += tracks->channel(c).keyFrames();
    }
    int frame = pick(timeline->frameCount());
    if (!keyed.isEmpty() && chance(60)) {
        frame = keyed.at(pick(keyed.size())) + m_random.bounded(3) - 1;
    }
    frame = std::clamp(frame, 0, timeline->frameCount() - 1);
    // A click on the ruler of the timeline, as the user picks a frame.
    const double cell = static_cast<double>(timeline->width()) / timeline->frameCount();
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier,
                      QPoint(static_cast<int>((frame + 0.5) * cell), timeline->height() / 4));
    return timeline->currentFrame();
}

QString UndoRun::writePng()
{
    static const char* const names[] = {"leaf", "head", "arm", "tail", "shadow"};
    const QString folder = QStringLiteral("%1/%2").arg(m_folder).arg(++m_files);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/%1.png").arg(QLatin1String(names[pick(5)]));
    QImage image(4 + m_random.bounded(40), 4 + m_random.bounded(40), QImage::Format_ARGB32);
    image.fill(QColor(m_random.bounded(256), m_random.bounded(256), m_random.bounded(256)));
    return image.save(path) ? path : QString();
}

void UndoRun::addNode()
{
    Skeleton::Node* parent = anyNode();
    Skeleton::Asset* image = chance(30) ? anyImage() : nullptr;
    select(image    ? QList<QGraphicsItem*>{image->placeholder}
           : parent ? QList<QGraphicsItem*>{parent->joint}
                    : QList<QGraphicsItem*>{});
    note(QStringLiteral("add a node under the selected %1")
             .arg(image ? QStringLiteral("image \"%1\"").arg(image->name)
                        : QStringLiteral("joint \"%1\"").arg(parent ? parent->name : QString())));
    m_window->editing()->addNode();
}

/// Delete with the canvas selected: a joint and everything under it, or images.
void UndoRun::deleteSelection()
{
    Skeleton::Node* node = chance(50) ? anyNode() : nullptr;
    const QList<QGraphicsItem*> targets = node ? QList<QGraphicsItem*>{node->joint} : someImages();
    if (targets.isEmpty()) {
        return;
    }
    select(targets);
    note(node ? QStringLiteral("delete joint \"%1\" and what is under it").arg(node->name)
              : QStringLiteral("delete %1 selected image(s)").arg(targets.size()));
    m_window->editing()->deleteSelection(false, 0);
}

/// Delete with the timeline focused: the keys of a joint on a frame.
void UndoRun::deleteKeys()
{
    if (Skeleton::Node* node = anyNode()) {
        select({node->joint});
        const int frame = chooseFrame(node->animation);
        note(QStringLiteral("delete the keys of joint \"%1\" on frame %2").arg(node->name).arg(frame));
        m_window->editing()->deleteSelection(true, frame);
    }
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
        note(QStringLiteral("import %1 image(s) at joint \"%2\"")
                 .arg(count)
                 .arg(node ? node->name : QString()));
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
    test::dropOn(view->viewport(), at, &data);
}

/// A drag of the selection: a move, a rotation (Ctrl on a corner) or a scaling (a corner). While
/// recording it keys a joint at a frame (images are not animated); otherwise it changes the set-up
/// pose of a joint or of images.
void UndoRun::dragTarget(bool recording)
{
    Skeleton::Node* node = recording || chance(30) ? anyNode() : nullptr;
    if (node) {
        showJoints();
    }
    setRecording(recording);
    const QList<QGraphicsItem*> targets = node ? QList<QGraphicsItem*>{node->joint} : someImages();
    if (targets.isEmpty()) {
        return;
    }
    select(targets);
    const int frame = recording ? chooseFrame(node->animation) : -1;
    const int kind = m_random.bounded(3); // 0 move, 1 rotate, 2 scale
    QPointF from;
    QPointF to;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const QPolygonF outline = m_window->manipulator()->polygon();
    if (kind == 0 || outline.size() < 4) {
        from = pressablePoint(m_window->graphicsView(), targets.first());
        if (qIsNaN(from.x())) {
            return;
        }
        to = from + QPointF(between(-60, 60), between(-60, 60));
        modifiers = chance(15) ? Qt::ShiftModifier : Qt::NoModifier;
    } else {
        from = outline.at(pick(4));
        const QPointF centre = outline.boundingRect().center();
        if (kind == 1) {
            modifiers = Qt::ControlModifier;
            to = centre + QTransform().rotateRadians(between(-2.5, 2.5)).map(from - centre);
        } else {
            to = centre + (from - centre) * between(0.4, 1.8) + QPointF(between(-5, 5), between(-5, 5));
            modifiers = chance(20) ? Qt::AltModifier : Qt::NoModifier;
        }
    }
    static const char* const kinds[] = {"move", "rotate", "scale"};
    note(QStringLiteral("%1 %2 %3 from %4 to %5%6%7")
             .arg(recording ? QStringLiteral("recording, frame %1:").arg(frame) : QStringLiteral("set-up:"),
                  QLatin1String(kinds[kind]),
                  node ? QStringLiteral("joint \"%1\"").arg(node->name)
                       : QStringLiteral("%1 image(s)").arg(targets.size()),
                  text(from), text(to), QLatin1String(modifiers & Qt::ShiftModifier ? " with Shift" : ""),
                  QLatin1String(modifiers & Qt::AltModifier ? " with Alt" : "")));
    TSGraphicsView* view = m_window->graphicsView();
    test::pressAt(view, from, modifiers);
    for (int i = 1; i <= 3; ++i) {
        test::moveTo(view, from + (to - from) * (i / 3.0), modifiers);
    }
    test::releaseAt(view, to, modifiers);
}

/// A value typed into the object settings column for one joint (a key while recording) or image.
/// Names are left out: tracks bind by name, and a name met again binds ambiguously.
void UndoRun::typeIntoField()
{
    Skeleton::Node* node = chance(60) ? anyNode() : nullptr;
    Skeleton::Asset* image = node ? nullptr : anyImage();
    if (!node && !image) {
        return;
    }
    const bool recording = node && chance(50);
    setRecording(recording);
    select({node ? static_cast<QGraphicsItem*>(node->joint) : image->placeholder});
    const int frame = recording ? chooseFrame(node->animation) : -1;
    static const char* const fields[] = {"posX", "posY", "rotation", "scaleX", "scaleY", "hue", "opacity"};
    static const double ranges[][2] = {{-200, 200}, {-200, 200}, {-400, 400}, {-2, 3},
                                       {-2, 3},     {-1, 1},     {0, 1}};
    const int field = pick(node ? 5 : 7);
    const QString value = QString::number(between(ranges[field][0], ranges[field][1]), 'f', pick(4));
    note(QStringLiteral("%1type \"%2\" as the %3 of %4 \"%5\"")
             .arg(recording ? QStringLiteral("recording, frame %1: ").arg(frame) : QString(), value,
                  QLatin1String(fields[field]), QLatin1String(node ? "joint" : "image"),
                  node ? node->name : image->name));
    auto* edit = m_window->findChild<QLineEdit*>(QLatin1String(fields[field]));
    if (edit && edit->isVisible()) {
        typeInto(edit, value);
    }
}

/// A joint moved under another joint (or to the top), or an image bound to another joint.
void UndoRun::reparent()
{
    Skeleton::Asset* image = chance(50) ? anyImage() : nullptr;
    Skeleton::Node* node = image ? nullptr : anyNode();
    Skeleton::Node* parent = image || chance(85) ? anyNode() : nullptr;
    if ((!image && !node) || (image && !parent)) {
        return;
    }
    note(QStringLiteral("put %1 \"%2\" under %3")
             .arg(QLatin1String(image ? "image" : "joint"), image ? image->name : node->name,
                  parent ? QStringLiteral("joint \"%1\"").arg(parent->name) : QStringLiteral("the top")));
    QGraphicsItem* to = parent ? parent->joint : nullptr;
    if (image) {
        m_window->history()->changeAssetParent(image->placeholder, to);
    } else {
        m_window->history()->changeNodeParent(node->joint, to);
    }
}

/// The canvas size typed into its label, a frame count, a new animation, the guides dragged, or
/// another animation chosen.
void UndoRun::animationEdit()
{
    HistoryManager* history = m_window->history();
    const QList<DocumentController::Animation> animations = m_window->document()->animations();
    const int choice = pick(8);
    if (choice == 0) {
        const QString typed =
            QStringLiteral("%1 x %2").arg(64 + m_random.bounded(1900)).arg(64 + m_random.bounded(1900));
        note(QStringLiteral("canvas size \"%1\"").arg(typed));
        if (const std::optional<QRectF> rect =
                AnimationCanvas::rectForLabelText(m_window->animationCanvas()->canvasRect(), typed)) {
            history->setCanvasSize(*rect);
        }
    } else if (choice < 3) {
        const int frames = 2 + m_random.bounded(150);
        note(QStringLiteral("frame count %1").arg(frames));
        typeInto(m_window->animationEditor()->framesEdit(), QString::number(frames));
    } else if (choice == 3) {
        const QString name = QStringLiteral("Take %1").arg(m_random.bounded(5));
        note(QStringLiteral("new animation \"%1\"").arg(name));
        history->addAnimation(name);
    } else if (choice == 4) {
        // As a drag of the guides ends: they already cross where they were dragged to.
        const QPointF from = history->axes()->crossing();
        const QPointF to(between(-200, 200), between(-200, 200));
        note(QStringLiteral("move the axes to %1").arg(text(to)));
        history->axes()->setCrossing(to);
        history->changeAxesPosition(from, to);
    } else if (!animations.isEmpty()) {
        const QString identifier = animations.at(pick(animations.size())).identifier;
        note(QStringLiteral("choose animation \"%1\"").arg(identifier));
        m_window->document()->selectAnimation(identifier);
    }
}

void UndoRun::step()
{
    const struct
    {
        const char* name;
        int weight;
        std::function<void()> edit;
    } kinds[] = {{"add node", 4, [this] { addNode(); }},
                 {"delete", 4, [this] { deleteSelection(); }},
                 {"delete keys", 3, [this] { deleteKeys(); }},
                 {"paste", 2, [this] { copyPaste(); }},
                 {"arrange", 2, [this] { arrange(); }},
                 {"import", 2, [this] { importImages(false); }},
                 {"drop", 2, [this] { importImages(true); }},
                 {"set-up drag", 8, [this] { dragTarget(false); }},
                 {"keyed drag", 16, [this] { dragTarget(true); }},
                 {"field", 6, [this] { typeIntoField(); }},
                 {"reparent", 4, [this] { reparent(); }},
                 {"animations", 8, [this] { animationEdit(); }}};
    int roll = m_random.bounded(std::accumulate(std::begin(kinds), std::end(kinds), 0,
                                                [](int sum, const auto& kind) { return sum + kind.weight; }));
    int chosen = 0;
    while (roll >= kinds[chosen].weight) {
        roll -= kinds[chosen++].weight;
    }
    // Panels that show or hide with the selection resize the view: settled before every step,
    // the same seed makes the same gestures.
    QCoreApplication::processEvents();
    const int before = m_window->history()->index();
    const int noted = m_steps.size();
    kinds[chosen].edit();
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
    // The document after each step, by the history index it left; steps that recorded nothing
    // share their index with the step before.
    std::map<int, QStringList> states{{0, state()}};
    for (int i = 0; i < steps; ++i) {
        step();
        states[history->index()] = state();
    }
    const int count = history->index();
    if (history->count() != count) {
        return QStringLiteral("the history holds %1 steps beyond its index %2")
            .arg(history->count())
            .arg(count);
    }
    // Back to the start and forward again: every state the steps left comes back.
    for (int i = 1; i <= 2 * count; ++i) {
        const bool undoing = i <= count;
        const int index = undoing ? count - i : i - count;
        undoing ? history->undo() : history->redo();
        const auto found = states.find(index);
        if (const QString d = found == states.end() ? QString() : differences(found->second, state());
            !d.isEmpty()) {
            return QStringLiteral("after %1 \"%2\", at history index %3:%4")
                .arg(QLatin1String(undoing ? "undoing" : "redoing"),
                     history->text(undoing ? index : index - 1))
                .arg(index)
                .arg(d);
        }
    }
    // Saved and opened in a fresh editor, the document is what the format keeps of it.
    const QStringList saved = documentLines(*m_window, true, true);
    const QString path = m_folder + QStringLiteral("/saved.bsdoc");
    QString error;
    if (!m_window->document()->save(path, &error)) {
        return QStringLiteral("cannot save: ") + error;
    }
    closeWindow();
    if (!openWindow(path, false)) {
        return QStringLiteral("cannot open the saved document");
    }
    const QString d = differences(saved, documentLines(*m_window, false, true));
    closeWindow();
    return d.isEmpty() ? d : QStringLiteral("after saving and opening again:") + d;
}

int fromEnvironment(const char* name, int fallback)
{
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : fallback;
}

} // namespace

class TestUndoProperty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyEditUndoesRedoesAndSaves_data();
    void everyEditUndoesRedoesAndSaves();
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
    const quint32 seed = static_cast<quint32>(fromEnvironment("BONESTAGE_SEED", 1));
    const int steps = fromEnvironment("BONESTAGE_STEPS", 300);
    QMap<QString, int> recorded;
    auto runPrefix = [&](int n, QStringList* log) {
        UndoRun run(document, seed, folder.path());
        const QString failure = run.run(n);
        *log = run.steps();
        recorded = run.recorded();
        return failure;
    };
    QStringList log;
    QString failure = runPrefix(steps, &log);
    if (!failure.isEmpty()) {
        // The shortest failing prefix: the prefix of passing is below, of failing above.
        int passing = 0;
        int failing = steps;
        while (failing - passing > 1) {
            const int middle = (passing + failing) / 2;
            QStringList shorter;
            const QString result = runPrefix(middle, &shorter);
            (result.isEmpty() ? passing : failing) = middle;
            if (!result.isEmpty()) {
                failure = result;
                log = shorter;
            }
        }
        QFAIL(qPrintable(
            QStringLiteral("seed %1 (BONESTAGE_SEED=%1), fails after %2 of %3 steps, %4\nsteps:\n%5")
                .arg(seed)
                .arg(failing)
                .arg(steps)
                .arg(failure, log.join(QLatin1Char('\n')))));
    }
    qInfo().nospace() << "seed " << seed << ", " << steps << " steps, recorded " << recorded;
    // The sequence really edited: joints were keyed and posed, fields typed, nodes and images added.
    for (const char* kind : {"keyed drag", "set-up drag", "field", "add node", "drop"}) {
        QVERIFY2(recorded.value(QLatin1String(kind)) > 0, kind);
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestUndoProperty)
#include "tst_UndoProperty.moc"
