#pragma once

#include <QMessageBox>

#include <functional>

/// The editor's message box: a modal box with an icon, a title, a text and standard buttons,
/// returning the button pressed.
///
/// Tests (and the command-line export, which has no user to ask) can answer boxes without
/// showing them by installing an answerer.
class TSMessageBox
{
public:
    struct Request
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    using Answerer = std::function<QMessageBox::StandardButton(const Request&)>;

    static QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton);

    /// Replaces showing boxes by calling answerer; an empty one shows boxes again.
    static void setAnswerer(Answerer answerer);
};
