#pragma once
// Test fixture for the main window: the real window with the editor's style, model classes and
// animation library, opened on a shipped document, and the gestures the window tests share, all
// made with real mouse and key events.

#include "AnimationEditorPanel.h"
#include "AnimationModelClasses.h"
#include "DocumentController.h"
#include "ObjectManipulator.h"
#include "OutlinerPanel.h"
#include "PixmapPlaceholderItem.h"
#include "Skeleton.h"
#include "TSAnimationCurve.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSApplicationSettings.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSMainWindow.h"
#include "TSModelController.h"
#include "TSOutlinerWidget.h"
#include "TSStyle.h"
#include "TemplateLibrary.h"
#include "ViewInput.h"
#include "WindowAnswers.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <algorithm>

namespace test {

/// The shipped data folder: templates, sample documents and asset groups.
inline const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

/// A PNG of one colour written to path; empty when it cannot be written.
inline QString writePng(const QString& path, const QColor& colour, const QSize& size = QSize(16, 12))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path) ? path : QString();
}

/// The keys of a curve as (time, value) points.
inline QList<QPointF> keyPoints(const TSAnimationCurve& curve)
{
    QList<QPointF> points;
    for (int i = 0; i < curve.keyCount(); ++i) {
        points << curve.keyPoint(i);
    }
    return points;
}

/// The middle of a frame's cell on the timeline: in its upper half (the ruler, which moves the
/// playhead) or its lower half (the key cells).
inline QPoint timelineCell(const TSAnimationEditorTimelineWidget* timeline, int frame, bool onKeys = false)
{
    const double cell = static_cast<double>(timeline->width()) / timeline->frameCount();
    return QPoint(static_cast<int>((frame + 0.5) * cell), onKeys ? timeline->height() * 3 / 4 : timeline->height() / 4);
}

class WindowFixture
{
protected:
    /// Once per test program.
    static void setUpApplication()
    {
        QApplication::setStyle(new TSStyle());
        AnimationModelClasses::registerAll();
        TemplateLibrary::setRoot(kShipped + QStringLiteral("/animations"));
    }

    /// Before each case: a new window of size, without recent files and with the default onion skin.
    void openWindow(const QSize& size = QSize(1200, 760))
    {
        TSApplicationSettings::instance()->setRecentFiles({});
        TSApplicationSettings::instance()->setOnionSkin(TSApplicationSettings::OnionSkin());
        m_window = new TSMainWindow();
        m_window->resize(size);
    }

    /// After each case: the window closed without questions and every model released.
    void closeWindow()
    {
        if (m_window) {
            m_window->document()->setModified(false);
            delete m_window;
            m_window = nullptr;
        }
        TSModelController::destroyInstance();
    }

    /// Opens a shipped document as a template, shows the window active and fits the canvas.
    void openTemplate(const QString& document = QStringLiteral("Biped"),
                      const QString& title = QStringLiteral("Biped Character"))
    {
        QVERIFY(m_window->loadDocument(kShipped + "/projects/" + document + ".bsdoc", true, title));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_window->fitCanvas();
    }

    template <class T> T* widget(const char* name, const QObject* parent = nullptr) const
    {
        T* found = (parent ? parent : m_window)->findChild<T*>(QLatin1String(name));
        if (!found) {
            qWarning("no widget %s", name);
        }
        return found;
    }

    /// A real click on the visible tool button of that object name.
    void clickButton(const char* objectName) const
    {
        auto* button = widget<QToolButton>(objectName);
        QVERIFY2(button && button->isVisible(), objectName);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    /// Types text into the window's line edit of that object name.
    void type(const char* objectName, const QString& text) const { typeInto(widget<QLineEdit>(objectName), text); }

    /// A click on the outliner row of a node, which selects its joint alone.
    void selectNode(const QString& name) const
    {
        QVERIFY(clickRow(m_window->outliner()->tree(), name));
        QCOMPARE(m_window->manipulator()->targets(), {m_window->skeleton()->nodeByName(name)->joint});
    }

    void clickTimeline(int frame, bool onKeys = false) const
    {
        TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
        QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier, timelineCell(timeline, frame, onKeys));
    }

    /// The canvas button with that tool tip.
    TSGraphicsButton* overlay(const QString& toolTip) const
    {
        for (TSGraphicsButton* button : m_window->graphicsView()->buttons()) {
            if (button->toolTip() == toolTip) {
                return button;
            }
        }
        return nullptr;
    }

    void clickOverlay(const QString& toolTip) const
    {
        TSGraphicsButton* button = overlay(toolTip);
        QVERIFY2(button, qPrintable(toolTip));
        QTest::mouseClick(m_window->graphicsView()->viewport(), Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    /// "Animation mode" makes the joints editable; the key button makes their drags keys.
    void startRecording() const
    {
        clickOverlay(QStringLiteral("Animation mode"));
        QVERIFY(overlay(QStringLiteral("Animation mode"))->isChecked());
        QVERIFY(m_window->skeleton()->animationMode() && m_window->skeleton()->editableJoints());
        clickButton("keyButton");
        QVERIFY(m_window->manipulator()->animationMode());
    }

    void undo() const { QTest::keyClick(m_window->graphicsView(), Qt::Key_Z, Qt::ControlModifier); }
    void redo() const { QTest::keyClick(m_window->graphicsView(), Qt::Key_Y, Qt::ControlModifier); }

    /// The first image bound to a node.
    Skeleton::Asset* imageOf(const QString& node) const
    {
        for (const auto& asset : m_window->skeleton()->images()) {
            if (asset->nodeName == node) {
                return asset.get();
            }
        }
        return nullptr;
    }

    /// The scene point nearest the middle of item where it is the topmost item the manipulator
    /// can pick, in the whole view pixel a click there lands on (the scene hands a press to the
    /// topmost item in that pixel); NaN when there is none.
    QPointF pickable(const QGraphicsItem* item) const
    {
        const QRectF box = item->sceneBoundingRect();
        QVector<QPointF> points;
        for (double y = box.top() + 1; y < box.bottom(); y += 1) {
            for (double x = box.left() + 1; x < box.right(); x += 1) {
                points << QPointF(x, y);
            }
        }
        const QPointF middle = box.center();
        std::sort(points.begin(), points.end(), [&middle](const QPointF& a, const QPointF& b) {
            return QLineF(a, middle).length() < QLineF(b, middle).length();
        });
        TSGraphicsView* view = m_window->graphicsView();
        for (const QPointF& point : points) {
            const QPolygonF pixel = view->mapToScene(QRect(view->mapFromScene(point), QSize(1, 1)));
            for (QGraphicsItem* under : m_window->scene()->items(pixel)) {
                if (under->flags() & QGraphicsItem::ItemIsSelectable) {
                    if (under == item) {
                        return point;
                    }
                    break;
                }
            }
        }
        return QPointF(qQNaN(), qQNaN());
    }

    /// Files dragged from outside and dropped on the canvas at a node's joint.
    void dropFiles(const QList<QUrl>& urls, const QString& onNode) const
    {
        QMimeData data;
        data.setUrls(urls);
        TSGraphicsView* view = m_window->graphicsView();
        dropOn(view->viewport(), view->mapFromScene(m_window->skeleton()->nodeByName(onNode)->joint->sceneBoundingRect().center()),
               &data);
    }

    /// A press and release on the canvas at a scene point.
    void clickAt(const QPointF& scenePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        pressAt(m_window->graphicsView(), scenePoint, modifiers);
        releaseAt(m_window->graphicsView(), scenePoint, modifiers);
    }

    /// A click on a free point of an image: alone it picks the image alone, with Shift or Ctrl it
    /// adds the image to what is picked.
    void clickImage(const Skeleton::Asset* asset, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QVERIFY(asset);
        const QPointF point = pickable(asset->placeholder);
        QVERIFY2(!qIsNaN(point.x()), qPrintable(asset->name));
        clickAt(point, modifiers);
        if (modifiers == Qt::NoModifier) {
            QCOMPARE(m_window->manipulator()->targets(), {asset->placeholder});
        } else {
            QVERIFY(m_window->manipulator()->targets().contains(asset->placeholder));
        }
    }

    void selectImageOf(const QString& node) const { clickImage(imageOf(node)); }

    TSMainWindow* m_window = nullptr;
    QTemporaryDir m_dir;
};

} // namespace test
