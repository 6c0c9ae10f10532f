#include "ExportFlow.h"

#include "AnimationCanvas.h"
#include "AnimationExporter.h"
#include "ExportDialog.h"
#include "FrameRenderer.h"
#include "Skeleton.h"
#include "TSApplicationSettings.h"
#include "TSFileDialogs.h"
#include "TSMessageBox.h"
#include "TSProgressWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace {

const QString kExportPath = QStringLiteral("Paths/ExportPath");

} // namespace

ExportFlow::ExportFlow(QWidget* window, AnimationExporter* exporter, FrameRenderer* renderer,
                       AnimationCanvas* canvas, Skeleton* skeleton)
    : QObject(window), m_window(window), m_exporter(exporter), m_renderer(renderer), m_canvas(canvas),
      m_skeleton(skeleton)
{
}

void ExportFlow::chooseDirectory()
{
    QString start = QSettings().value(kExportPath).toString();
    if (!QFileInfo(start).isDir()) {
        start = TSApplicationSettings::documentsFolder();
    }
    const QString directory =
        TSFileDialogs::getExistingDirectory(m_window, QStringLiteral("Export Animation"), start);
    if (directory.isEmpty()) {
        return;
    }
    QSettings().setValue(kExportPath, directory);
    showDialog();
}

void ExportFlow::showDialog()
{
    if (m_skeleton) {
        m_skeleton->stop();
    }
    const QSizeF frame = m_canvas->canvasRect().size() * AnimationCanvas::kLabelScale;
    auto* dialog = new ExportDialog(QSize(qRound(frame.width()), qRound(frame.height())), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ExportDialog::doExport, this, [this, dialog](QSize size, int fps) {
        m_format = dialog->animationFormat();
        exportAs(size, fps);
    });
    dialog->adjustSize();
    dialog->move(m_window->geometry().center() - dialog->rect().center());
    dialog->open();
}

void ExportFlow::exportAs(QSize size, int fps)
{
    m_size = size;
    m_fps = fps;
    if (!QSettings().value(kExportPath).toString().isEmpty()) {
        QTimer::singleShot(0, this, &ExportFlow::run);
    }
}

void ExportFlow::run()
{
    const QString directory = QSettings().value(kExportPath).toString();
    if (directory.isEmpty() || !m_exporter || !m_renderer || m_renderer->isRendering()) {
        return;
    }
    // A converter that cannot make the format is found out before any frame is rendered.
    QString error;
    if (m_format && !AnimationEncoder::checkEncoder(*m_format, &error)) {
        TSMessageBox::warning(m_window, QStringLiteral("Export"), error);
        return;
    }
    QPointer<TSProgressWindow> progress =
        new TSProgressWindow(QStringLiteral("Export"), QStringLiteral("Exporting ..."), true, m_window);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowModality(Qt::WindowModal);
    connect(progress, &TSProgressWindow::canceled, m_exporter, &AnimationExporter::cancel);
    connect(progress, &QDialog::rejected, m_exporter, &AnimationExporter::cancel);
    connect(m_exporter, &AnimationExporter::progress, progress, [progress](qreal fraction) {
        progress->setProgress(fraction);
        QCoreApplication::processEvents();
    });
    progress->show();
    const AnimationExporter::Result result = m_exporter->exportAnimations(directory, m_size, m_fps);
    bool encoded = true;
    if (m_format && result.ok() && !result.cancelled) {
        if (progress) {
            progress->setText(QStringLiteral("Converting ..."));
        }
        encoded = encode(result.folders, &error);
    }
    if (progress) {
        // A cancelled export has nothing left to show either.
        progress->close();
    }
    m_window->update();
    if (!result.ok()) {
        TSMessageBox::warning(m_window, QStringLiteral("Export"), result.error);
    } else if (!encoded) {
        TSMessageBox::warning(m_window, QStringLiteral("Export"), error);
    }
}

bool ExportFlow::encode(const QStringList& folders, QString* error)
{
    AnimationEncoder::Options options;
    options.fps = m_fps;
    options.transparent = true;
    for (const QString& folder : folders) {
        QCoreApplication::processEvents();
        const QString output = folder + AnimationEncoder::suffix(*m_format);
        if (!GifConverter::run({AnimationEncoder::command(*m_format, folder, output, options)}, output, error)) {
            return false;
        }
    }
    return true;
}
