#pragma once

#include <QList>
#include <QMessageBox>
#include <QPair>

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
        /// Buttons that show a text of the caller's instead of their standard one.
        QList<QPair<QMessageBox::StandardButton, QString>> buttonTexts = {};
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

    /// A question whose buttons carry the given texts; returns the standard
    /// button behind the text pressed (the one with the reject role for Escape).
    static QMessageBox::StandardButton ask(QWidget* parent, const QString& title, const QString& text,
                                           const QList<QPair<QMessageBox::StandardButton, QString>>& buttons,
                                           QMessageBox::StandardButton defaultButton);

    /// Replaces showing boxes by calling answerer; an empty one shows boxes again.
    static void setAnswerer(Answerer answerer);
};
