#pragma once

#include <QObject>

/// Takes Ctrl+Z and Ctrl+Y (exactly the Control modifier) away from the editors it watches and
/// hands them to the editor's undo history, so a field's own undo never runs and a shortcut
/// never fires in its place.
class HistoryKeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit HistoryKeyFilter(QObject* parent = nullptr);

    /// Watches widget (the filter is owned by it).
    static void install(QObject* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
