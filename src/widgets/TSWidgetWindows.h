#pragma once

#include <QWidget>

/// A top-level window whose close asks mayClose() first; a refused close leaves it open.
class TSWidgetWindows : public QWidget
{
    Q_OBJECT

public:
    explicit TSWidgetWindows(QWidget* parent = nullptr);

protected:
    /// Whether the window may close now; the base always agrees.
    virtual bool mayClose();
    /// Called when a close was agreed, before the window goes.
    virtual void aboutToClose();
    void closeEvent(QCloseEvent* event) override;
};
