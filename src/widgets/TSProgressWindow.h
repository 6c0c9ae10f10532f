#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

/// A small window with a title, a text, a progress bar (0 to 1) and, optionally, Cancel.
class TSProgressWindow : public QDialog
{
    Q_OBJECT

public:
    TSProgressWindow(const QString& title, const QString& text, bool cancellable, QWidget* parent = nullptr);

    double progress() const;
    QString text() const;
    bool wasCancelled() const { return m_cancelled; }

public Q_SLOTS:
    /// Shows progress (clamped to 0–1).
    void setProgress(double progress);
    void setText(const QString& text);

Q_SIGNALS:
    void canceled();

private:
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};
