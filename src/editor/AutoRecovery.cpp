#include "AutoRecovery.h"

#include "DocumentController.h"
#include "TSModelController.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QtConcurrent/QtConcurrentRun>

AutoRecovery::AutoRecovery(DocumentController* document, std::function<QString()> documentName,
                           QObject* parent)
    : QObject(parent), m_document(document), m_documentName(std::move(documentName))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AutoRecovery::intervalPassed);
    connect(&m_steps, &QTimer::timeout, this, &AutoRecovery::takeStep);
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &AutoRecovery::writeFinished);
}

AutoRecovery::~AutoRecovery()
{
    m_builder.reset();
    m_waiting.reset();
    m_watcher.waitForFinished();
}

int AutoRecovery::interval()
{
    bool isNumber = false;
    const int milliseconds = qEnvironmentVariableIntValue("BONESTAGE_RECOVERY_INTERVAL_MS", &isNumber);
    return isNumber && milliseconds > 0 ? milliseconds : kDefaultInterval;
}

void AutoRecovery::noteChange()
{
    if (!m_timer.isActive()) {
        m_timer.start(interval());
    }
}

void AutoRecovery::intervalPassed()
{
    if (m_document && (m_document->isModified() || m_keepsUnsaved)) {
        writeNow();
    }
}

void AutoRecovery::writeNow()
{
    m_timer.stop();
    TSModelController* controller = TSModelController::instance();
    if (!m_document || controller->workingPath().isEmpty()) {
        return;
    }
    if (m_busy && m_busy()) {
        m_timer.start(interval());
        return;
    }
    m_document->pushStateToModels();
    RecoveryManifest manifest;
    manifest.documentName = m_documentName ? m_documentName() : QString();
    manifest.documentPath = m_document->isTemplate() ? QString() : controller->documentPath();
    manifest.time = QDateTime::currentDateTimeUtc();
    manifest.pid = QCoreApplication::applicationPid();
    manifest.unsaved = m_document->isModified();
    m_keepsUnsaved = manifest.unsaved;
    m_builder = std::make_unique<RecoverySnapshotBuilder>(controller, manifest);
    m_steps.start(0);
}

void AutoRecovery::takeStep()
{
    if (!m_builder || (m_busy && m_busy())) {
        return;
    }
    if (!m_builder->step(kStepBudget)) {
        return;
    }
    m_steps.stop();
    RecoverySnapshot snapshot = m_builder->result();
    m_builder.reset();
    if (m_watcher.isRunning()) {
        m_waiting = std::move(snapshot);
    } else {
        start(std::move(snapshot));
    }
}

void AutoRecovery::start(RecoverySnapshot snapshot)
{
    RecoveryWriter* writer = &m_writer;
    m_watcher.setFuture(QtConcurrent::run([writer, snapshot = std::move(snapshot)] {
        QString error;
        if (!writer->write(snapshot, &error)) {
            qWarning("[AutoRecovery] %s", qPrintable(error));
            return false;
        }
        return true;
    }));
}

void AutoRecovery::writeFinished()
{
    Q_EMIT written(m_watcher.result());
    if (m_waiting) {
        RecoverySnapshot next = std::move(*m_waiting);
        m_waiting.reset();
        start(std::move(next));
    }
}

void AutoRecovery::finish()
{
    // A waiting snapshot belongs to the folder about to go; only the write running is let end.
    m_timer.stop();
    m_steps.stop();
    m_builder.reset();
    m_keepsUnsaved = false;
    m_waiting.reset();
    m_watcher.waitForFinished();
}
