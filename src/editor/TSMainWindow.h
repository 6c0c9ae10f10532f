#pragma once

#include <QMainWindow>

/// Placeholder for the editor's main window: offers what the application shell calls while
/// the real window is being built. It opens nothing yet.
class TSMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TSMainWindow(QWidget* parent = nullptr);

    void showWelcomeWindow(bool show);
    /// Reports that documents cannot be opened yet.
    void openFile(const QString& path);
    /// Nothing can be modified yet, so closing never needs confirmation.
    bool confirmClose();
};
