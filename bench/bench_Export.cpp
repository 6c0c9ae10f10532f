// Frame export of a shipped template at 240 x 240, against the same frames posed, drawn, scaled
// and written one after the other on this thread; and the command-line GIF, against rendering the
// frames here and running the two ffmpeg passes by hand on them.
#include "DebugMessages.h"
#include "InterleavedPair.h"
#include "Program.h"
#include "Report.h"

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
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kDocument = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc");

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
        if (!document->load(kDocument, true, &error)) {
            qFatal("cannot open the template: %s", qPrintable(error));
        }
        axes->hide();
    }

    // The settings of the command-line export.
    FrameRenderSettings settings(const QString& folder) const
    {
        FrameRenderSettings result;
        result.folder = folder;
        result.rect = canvas->canvasRect();
        result.size = QSize(240, 240);
        result.fps = 30;
        result.background = QColor(0x17, 0x17, 0x17);
        return result;
    }

    // Each frame posed, drawn, scaled and written in turn on this thread, with no checks: the
    // export as it was before its encoding moved to other threads.
    void renderOneByOne(const FrameRenderSettings& s)
    {
        const bool visible = skeleton->isSkeletonVisible();
        skeleton->setSkeletonVisible(false);
        const QVector<float> times =
            FrameRenderSettings::frameTimes(skeleton->duration(), s.fps, skeleton->timeScale());
        QDir().mkpath(s.folder);
        QImage image(FrameRenderSettings::renderSize(s.rect), QImage::Format_ARGB32_Premultiplied);
        for (int index = 0; index < times.size(); ++index) {
            skeleton->showMoment(times.at(index));
            image.fill(s.background);
            {
                QPainter painter(&image);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
                scene.render(&painter, QRectF(image.rect()), s.rect, Qt::KeepAspectRatio);
            }
            image.scaled(s.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .save(FrameRenderSettings::framePath(s.folder, index));
        }
        skeleton->setSkeletonVisible(visible);
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator = nullptr;
    AnimationCanvas* canvas = nullptr;
    SceneAxes* axes = nullptr;
    std::unique_ptr<Skeleton> skeleton;
    std::unique_ptr<DocumentController> document;
    std::unique_ptr<FrameRenderer> renderer;
};

// The palette pass and the GIF pass, typed as a user would.
void convertByHand(const QString& frames, const QString& gif)
{
    const std::string input = QString(frames + "/%04d.png").toStdString();
    const std::string palette = QString(frames + "/palette.png").toStdString();
    bench::Program::run("ffmpeg", {"-f", "image2", "-y", "-framerate", "30", "-i", input, "-vf",
                                   "fps=30,scale=240:-1:flags=lanczos,palettegen", palette});
    bench::Program::run(
        "ffmpeg", {"-f", "image2", "-y", "-framerate", "30", "-i", input, "-i", palette, "-filter_complex",
                   "fps=30,scale=240:-1:flags=lanczos[x];[x][1:v]paletteuse", gif.toStdString()});
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir isolated;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TMPDIR", isolated.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (isolated.path() + "/config").toLocal8Bit());
    QApplication application(argc, argv);
    bench::dropDebugMessages();
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/animations"));
    QTemporaryDir out;
    {
        Editor editor;
        const FrameRenderSettings threaded = editor.settings(out.filePath("frames"));
        const FrameRenderSettings oneByOne = editor.settings(out.filePath("frames one by one"));
        const FrameRenderer::Result first = editor.renderer->renderFrames(threaded);
        std::printf("%d frames of %s (%.2f s) at 240 x 240\n\n", first.frames, qPrintable(kDocument),
                    static_cast<double>(editor.skeleton->duration()));

        bench::InterleavedPair::Options options;
        options.rounds = 11;
        options.batchSeconds = 0.2;
        const auto render = bench::InterleavedPair::repeat(
            [&editor, &threaded] { bench::keep(editor.renderer->renderFrames(threaded).frames); });
        const auto renderOneByOne =
            bench::InterleavedPair::repeat([&editor, &oneByOne] { editor.renderOneByOne(oneByOne); });
        bench::Report::pair("frame export at 240 x 240", "FrameRenderer::renderFrames", "frames one by one",
                            bench::Goal::speedupAtLeast(1.6),
                            [&] { return bench::InterleavedPair::run(render, renderOneByOne, options); });

        const QString cliFrames = out.filePath("cli frames");
        const QString cliGif = out.filePath("cli.gif");
        const auto commandLine = bench::InterleavedPair::repeat([&cliFrames, &cliGif] {
            bench::Program::run(BONESTAGE_EXECUTABLE, {"-export", kDocument.toStdString(),
                                                       cliFrames.toStdString(), cliGif.toStdString()});
        });
        const QString handGif = out.filePath("hand.gif");
        const auto byHand = bench::InterleavedPair::repeat([&editor, &threaded, &handGif] {
            editor.renderer->renderFrames(threaded);
            convertByHand(threaded.folder, handGif);
        });
        options.rounds = 7;
        bench::Report::pair("command-line GIF of the template", "bonestage -export",
                            "render here + two ffmpeg passes by hand", bench::Goal::ratioAtMost(1.2),
                            [&] { return bench::InterleavedPair::run(commandLine, byHand, options); });
    }
    TSModelController::destroyInstance();
    return 0;
}
