// Frame export of a shipped template at 240 x 240: renderFrames (pose, draw, scale, PNG) against
// a bare loop that draws the same scene and writes the same PNGs with no pose work.
#include "BenchRatios.h"

#include "AnimationCanvas.h"
#include "AnimationModelClasses.h"
#include "DocumentController.h"
#include "FrameRenderer.h"
#include "ObjectManipulator.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSModelController.h"
#include "TemplateLibrary.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>

namespace {

struct Editor
{
    Editor()
    {
        view.setScene(&scene);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        canvas = new AnimationCanvas();
        scene.addItem(canvas);
        axes = new SceneAxes();
        scene.addItem(axes);
        skeleton = std::make_unique<Skeleton>(&scene, &view, manipulator);
        document = std::make_unique<DocumentController>(skeleton.get(), canvas, axes);
        renderer = std::make_unique<FrameRenderer>(skeleton.get(), &scene, manipulator);
        QString error;
        if (!document->load(QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc"), true, &error)) {
            qFatal("cannot open the template: %s", qPrintable(error));
        }
        canvas->hide();
        axes->hide();
        skeleton->setSkeletonVisible(false);
    }

    FrameRenderSettings settings() const
    {
        FrameRenderSettings result;
        result.folder = folder.path();
        result.rect = canvas->canvasRect();
        result.size = QSize(240, 240);
        result.fps = 30;
        result.background = QColor(0x17, 0x17, 0x17);
        return result;
    }

    QTemporaryDir folder;
    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator = nullptr;
    AnimationCanvas* canvas = nullptr;
    SceneAxes* axes = nullptr;
    std::unique_ptr<Skeleton> skeleton;
    std::unique_ptr<DocumentController> document;
    std::unique_ptr<FrameRenderer> renderer;
};

Editor& editor()
{
    static Editor instance;
    return instance;
}

int frameCount()
{
    const FrameRenderSettings s = editor().settings();
    return FrameRenderSettings::frameTimes(editor().skeleton->duration(), s.fps, 1.0f).size();
}

void BM_RenderFrames(benchmark::State& state)
{
    const FrameRenderSettings settings = editor().settings();
    int frames = 0;
    for (auto _ : state) {
        frames += editor().renderer->renderFrames(settings).frames;
    }
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The same drawing, scaling and PNG writing, the skeleton left in one pose.
void BM_BareRenderLoop(benchmark::State& state)
{
    const FrameRenderSettings settings = editor().settings();
    const int count = frameCount();
    QImage image(FrameRenderSettings::renderSize(settings.rect), QImage::Format_ARGB32_Premultiplied);
    int frames = 0;
    for (auto _ : state) {
        for (int index = 0; index < count; ++index) {
            image.fill(settings.background);
            {
                QPainter painter(&image);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
                editor().scene.render(&painter, QRectF(image.rect()), settings.rect, Qt::KeepAspectRatio);
            }
            image.scaled(settings.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .save(FrameRenderSettings::framePath(settings.folder, index));
            ++frames;
        }
    }
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BareRenderLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/animations"));
    const int result = bench::runWithRatios(argc, argv, {{"BM_RenderFrames/real_time", "BM_BareRenderLoop/real_time"}});
    TSModelController::destroyInstance();
    return result;
}
