#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM and SIGINT into a signal on the event loop, so that a process told to end can
/// end the ordinary way (the model controller then removes its working folder).
///
/// The handlers only write the signal number into one end of a socket pair; a QSocketNotifier on
/// the other end reads it on the event loop and emits received(). Each handler resets itself when
/// it runs, so a second signal of the same kind ends a process that no longer responds.
/// One instance at a time; elsewhere than on Unix it does nothing.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    /// Puts the default handlers back.
    ~TerminationSignals() override;

    /// Whether the handlers are in place.
    bool isInstalled() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
