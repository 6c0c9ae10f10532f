#pragma once
// Test helpers for the workflow suites: what a user sees of the open document, as lines of text
// to compare between steps, and real mouse input on the editor's menus and widgets.

#include "AnimatedObject.h"
#include "AnimationCanvas.h"
#include "AnimationEditorPanel.h"
#include "DocumentController.h"
#include "OutlinerPanel.h"
#include "PixmapPlaceholderItem.h"
#include "Skeleton.h"
#include "TSMainWindow.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TSOutlinerWidget.h"
#include "ViewInput.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsPixmapItem>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <cmath>

namespace test {

/// A checksum of an image's pixels, whatever format it is held in.
inline quint16 pixelSum(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    return qChecksum(reinterpret_cast<const char*>(pixels.constBits()), static_cast<uint>(pixels.sizeInBytes()));
}

inline QString transformText(const QTransform& t)
{
    return QString::asprintf("(%.3f %.3f %.3f %.3f %.2f %.2f)", t.m11(), t.m12(), t.m21(), t.m22(), t.dx(),
                             t.dy());
}

/// Nodes and images in their set-up pose (with the images' frame animations), canvas, animations,
/// length and every key with its handles of the current animation, and the outliner's rows.
inline QStringList documentState(TSMainWindow* window)
{
    Skeleton* skeleton = window->skeleton();
    QStringList lines;
    for (const auto& node : skeleton->nodes()) {
        lines << QStringLiteral("node %1 <- %2 at %3 %4 rest %5")
                     .arg(node->name, node->parent)
                     .arg(node->position.x(), 0, 'f', 2)
                     .arg(node->position.y(), 0, 'f', 2)
                     .arg(transformText(node->restTransform));
    }
    for (const auto* list : {&skeleton->images(), &skeleton->dummyImages()}) {
        for (const auto& asset : *list) {
            const QImage picture = asset->placeholder->pixmap().toImage();
            QString line = QStringLiteral("image %1 on %2 z %3 %4 %5x%6 pixels %7")
                               .arg(asset->name, asset->nodeName)
                               .arg(asset->item->zValue())
                               .arg(transformText(asset->restTransform))
                               .arg(picture.width())
                               .arg(picture.height())
                               .arg(pixelSum(picture));
            if (TSModelSpriteContainer* sprites = asset->container) {
                line += QString::asprintf(" frames %d speed %.3f length %.4f", sprites->spriteCount(),
                                          sprites->animationSpeed(), sprites->duration());
                for (int i = 0; i < sprites->spriteCount(); ++i) {
                    line += QStringLiteral(" %1:%2").arg(QString::fromStdString(sprites->spriteAt(i)->name()))
                                .arg(pixelSum(sprites->frameImage(i)));
                }
            }
            lines << line;
        }
    }
    const QRectF canvas = window->animationCanvas()->canvasRect();
    lines << QString::asprintf("canvas %.2f %.2f %.2f %.2f", canvas.x(), canvas.y(), canvas.width(),
                               canvas.height());
    QStringList animations;
    for (const DocumentController::Animation& animation : window->document()->animations()) {
        animations << animation.name;
    }
    const AnimationEditorPanel* editor = window->animationEditor();
    lines << QStringLiteral("animations %1; current %2 shown %3")
                 .arg(animations.join(','), window->document()->currentAnimationName(),
                      editor->animationComboBox()->currentText());
    lines
        << QStringLiteral("frames %1 field %2").arg(skeleton->frameCount()).arg(editor->framesEdit()->text());
    for (const auto& tracks : skeleton->tracks()) {
        if (!tracks->hasKeys()) {
            continue;
        }
        QString line = QStringLiteral("tracks %1:").arg(tracks->name());
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            const TSAnimationCurve& curve = tracks->channel(channel);
            for (int i = 0; i < curve.keyCount(); ++i) {
                const bez3& key = curve.keys()[i];
                line += QString::asprintf(" %d[%.4f %.4f %.4f %.4f]", channel, key.inHandle, key.time,
                                          key.value, key.outHandle);
            }
        }
        lines << line;
    }
    QStringList rows;
    for (QTreeWidgetItemIterator it(window->outliner()->tree()); *it; ++it) {
        rows << (*it)->text(0);
    }
    lines << QStringLiteral("outliner %1").arg(rows.join(','));
    return lines;
}

/// Where two states differ beyond tolerance in any number (the file keeps three decimals); empty
/// when they agree.
inline QString stateDifference(const QStringList& actual, const QStringList& expected, double tolerance)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+\\.\\d+"));
    if (actual.size() != expected.size()) {
        QStringList extra;
        for (const QString& line : actual) {
            if (!expected.contains(line)) {
                extra << QStringLiteral("+ ") + line;
            }
        }
        for (const QString& line : expected) {
            if (!actual.contains(line)) {
                extra << QStringLiteral("- ") + line;
            }
        }
        return extra.join(QLatin1Char('\n'));
    }
    for (int i = 0; i < actual.size(); ++i) {
        QString actualText = actual.at(i);
        QString expectedText = expected.at(i);
        QList<double> actualNumbers;
        QList<double> expectedNumbers;
        for (auto match = number.globalMatch(actualText); match.hasNext();) {
            actualNumbers << match.next().captured().toDouble();
        }
        for (auto match = number.globalMatch(expectedText); match.hasNext();) {
            expectedNumbers << match.next().captured().toDouble();
        }
        bool same = actualText.replace(number, QStringLiteral("#")) ==
                    expectedText.replace(number, QStringLiteral("#"));
        for (int n = 0; same && n < actualNumbers.size(); ++n) {
            same = std::abs(actualNumbers.at(n) - expectedNumbers.at(n)) <= tolerance;
        }
        if (!same) {
            return actual.at(i) + QStringLiteral("\ninstead of\n") + expected.at(i);
        }
    }
    return QString();
}

/// A real click on a menu of the window's menu bar and then on one of its entries.
inline void chooseMenuEntry(TSMainWindow* window, const char* menuName, const char* actionName)
{
    QMenuBar* bar = window->menuBar();
    auto* menu = bar->findChild<QMenu*>(QLatin1String(menuName));
    QAction* action = window->action(QLatin1String(actionName));
    QVERIFY2(menu && action, actionName);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
    QTRY_VERIFY(!menu->isVisible());
}

/// Writes a PNG of size in colour with a darker frame; the path, or empty when it failed.
inline QString writePng(const QString& path, const QColor& colour, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour.darker(150));
    for (int y = 2; y < size.height() - 2; ++y) {
        for (int x = 2; x < size.width() - 2; ++x) {
            image.setPixelColor(x, y, colour);
        }
    }
    return image.save(path, "PNG") ? path : QString();
}

} // namespace test
