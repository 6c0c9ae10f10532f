#include "PipelineCommands.h"

#include "AnimationCanvas.h"
#include "AnimationEncoder.h"
#include "AnimationExporter.h"
#include "GifConverter.h"
#include "ImageFile.h"
#include "SpriteSheet.h"
#include "TSMainWindow.h"
#include "TSMessageBox.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace {

void printOut(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

int refusal(AnimationExporter::Refusal refused, int otherwise)
{
    switch (refused) {
    case AnimationExporter::Refusal::NothingToRender:
        return PipelineCommands::NothingToDo;
    case AnimationExporter::Refusal::TooManyFrames:
        return PipelineCommands::TooMuch;
    case AnimationExporter::Refusal::None:
        break;
    }
    return otherwise;
}

// Why a converter run that failed may have failed at the output's end.
QString outputHint(const QString& output)
{
    const QFileInfo folder(QFileInfo(output).absolutePath());
    if (!folder.isDir()) {
        return QStringLiteral(" The folder %1 does not exist.").arg(folder.filePath());
    }
    if (!folder.isWritable()) {
        return QStringLiteral(" The folder %1 cannot be written to.").arg(folder.filePath());
    }
    return QString();
}

} // namespace

PipelineCommands::PipelineCommands(TSMainWindow* window) : m_window(window) {}

bool PipelineCommands::needsEditor(CommandLineRequest::Kind kind)
{
    return kind == CommandLineRequest::Export || kind == CommandLineRequest::ExportFrames;
}

int PipelineCommands::run(const CommandLineRequest& request)
{
    switch (request.kind) {
    case CommandLineRequest::Help:
        printOut(CommandLine::helpText(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
        return Done;
    case CommandLineRequest::Invalid:
        qCritical().noquote() << request.error;
        qCritical().noquote() << QStringLiteral("Run \"%1 --help\" for the usage.")
                                     .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        return BadRequest;
    case CommandLineRequest::PackAtlas:
        return packAtlas(request);
    case CommandLineRequest::Export:
    case CommandLineRequest::ExportFrames:
        if (!m_window) {
            break;
        }
        // Nobody is there to answer: messages go to the log, questions are answered without saving.
        TSMessageBox::setAnswerer([](const TSMessageBox::Request& box) {
            qWarning().noquote() << "[export]" << box.title << box.text;
            return box.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
        });
        return request.kind == CommandLineRequest::Export ? exportAnimation(request) : exportFrames(request);
    case CommandLineRequest::None:
    case CommandLineRequest::Open:
        break;
    }
    return BadRequest;
}

bool PipelineCommands::openDocument(const QString& path, const char* command)
{
    m_window->hide();
    if (!m_window->openFile(path)) {
        qCritical().noquote() << QStringLiteral("[%1] cannot open").arg(QLatin1String(command)) << path;
        return false;
    }
    return true;
}

int PipelineCommands::exportAnimation(const CommandLineRequest& request)
{
    const std::optional<AnimationEncoder::Format> format = AnimationEncoder::formatOf(request.outputPath);
    if (!format) {
        qCritical().noquote() << QStringLiteral(
                                     "[export] Cannot tell the format of %1: its name must end in %2.")
                                     .arg(request.outputPath, AnimationEncoder::knownSuffixes());
        return BadRequest;
    }
    // The GIF of the opaque frames is made as it always was; every other format is checked for
    // before anything is rendered, so a converter that cannot write it costs no time.
    const bool classicGif = *format == AnimationEncoder::Format::Gif && !request.transparent;
    QString error;
    if (!classicGif && !AnimationEncoder::checkEncoder(*format, &error)) {
        qCritical().noquote() << "[export]" << error;
        return ConverterFailed;
    }
    if (!openDocument(request.document, "export")) {
        return InputFailed;
    }
    FrameRenderSettings settings;
    settings.folder = request.framesFolder;
    settings.rect = m_window->animationCanvas()->canvasRect();
    settings.size = QSize(240, 240);
    settings.fps = 30;
    settings.background = request.transparent ? QColor(Qt::transparent) : QColor(QStringLiteral("#171717"));
    // Transparent frames hold the character alone, without the canvas frame's outline and fill.
    const AnimationExporter::Result frames =
        m_window->exporter()->exportCurrent(settings, !request.transparent);
    m_window->close();
    if (!frames.ok()) {
        qCritical().noquote() << "[export]" << frames.error;
        return refusal(frames.refused, OutputFailed);
    }
    qDebug().noquote()
        << QStringLiteral("[export] %1 frames written to %2").arg(frames.frames).arg(settings.folder);
    AnimationEncoder::Options options;
    options.fps = settings.fps;
    options.transparent = request.transparent;
    const bool converted = classicGif
                               ? GifConverter::convert(request.framesFolder, request.outputPath, &error)
                               : GifConverter::run({AnimationEncoder::command(*format, request.framesFolder,
                                                                              request.outputPath, options)},
                                                   request.outputPath, &error);
    if (!converted) {
        qCritical().noquote() << "[export]" << error + outputHint(request.outputPath);
        return ConverterFailed;
    }
    return Done;
}

int PipelineCommands::exportFrames(const CommandLineRequest& request)
{
    if (!openDocument(request.document, "export-frames")) {
        return InputFailed;
    }
    // The percentage applies to the canvas size the editor shows, as in the export dialog.
    const QSizeF shown = m_window->animationCanvas()->canvasRect().size() * AnimationCanvas::kLabelScale;
    const QSize size(static_cast<int>(std::floor(qRound(shown.width()) * request.scale / 100.0)),
                     static_cast<int>(std::floor(qRound(shown.height()) * request.scale / 100.0)));
    if (size.width() < 1 || size.height() < 1 || !ImageFile::acceptableSize(size)) {
        qCritical().noquote()
            << QStringLiteral(
                   "[export-frames] -scale %1 makes frames of %2 × %3 pixels from a canvas of %4 × %5; "
                   "a side must be 1 to %6 pixels.")
                   .arg(request.scale)
                   .arg(size.width())
                   .arg(size.height())
                   .arg(qRound(shown.width()))
                   .arg(qRound(shown.height()))
                   .arg(ImageFile::kMaxSide);
        return BadRequest;
    }
    if (!QDir().mkpath(request.framesFolder)) {
        qCritical().noquote()
            << QStringLiteral("[export-frames] Cannot make the folder %1.").arg(request.framesFolder);
        return OutputFailed;
    }
    const AnimationExporter::Result result = m_window->exporter()->exportAnimations(
        request.framesFolder, size, request.fps, AnimationExporter::Folders::SafeAnimationName);
    m_window->close();
    if (!result.ok()) {
        qCritical().noquote() << "[export-frames]" << result.error;
        return refusal(result.refused, OutputFailed);
    }
    if (result.frames == 0) {
        qCritical().noquote()
            << (result.animations == 0
                    ? QStringLiteral("[export-frames] Nothing to export: the document has no animation.")
                    : QStringLiteral("[export-frames] Nothing to export: every animation of the "
                                     "document has a duration of 0."));
        return NothingToDo;
    }
    qDebug().noquote() << QStringLiteral("[export-frames] %1 frames of %2 animations written to %3")
                              .arg(result.frames)
                              .arg(result.animations)
                              .arg(request.framesFolder);
    // The folders, one a line, for the script that goes on with them.
    printOut(result.folders.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return Done;
}

int PipelineCommands::packAtlas(const CommandLineRequest& request)
{
    const SpriteSheet::Result sheet = SpriteSheet::pack(request.framesFolder, request.outputPath);
    if (sheet.ok()) {
        qDebug().noquote() << QStringLiteral("[pack-atlas] %1 images packed into a %2 × %3 atlas, %4")
                                  .arg(sheet.sprites)
                                  .arg(sheet.size.width())
                                  .arg(sheet.size.height())
                                  .arg(sheet.imagePath);
        return Done;
    }
    qCritical().noquote() << "[pack-atlas]" << sheet.error;
    switch (sheet.failure) {
    case SpriteSheet::Failure::NoImages:
        return NothingToDo;
    case SpriteSheet::Failure::UnreadableImage:
        return InputFailed;
    case SpriteSheet::Failure::TooLarge:
        return TooMuch;
    case SpriteSheet::Failure::None:
    case SpriteSheet::Failure::WriteFailed:
        break;
    }
    return OutputFailed;
}
