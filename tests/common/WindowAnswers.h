#pragma once
// Test helpers: answer the editor's message boxes and file choosers without showing them, and its
// input dialogs as a user types into them.

#include "TSFileDialogs.h"
#include "TSMessageBox.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QtTest>

namespace test {

/// Records every box and answers questions with the queued answers (Ok for the rest).
struct Boxes
{
    Boxes()
    {
        TSMessageBox::setAnswerer([this](const TSMessageBox::Request& request) {
            shown.append(request);
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        });
    }
    ~Boxes() { TSMessageBox::setAnswerer({}); }
    Boxes(const Boxes&) = delete;
    Boxes& operator=(const Boxes&) = delete;

    QList<TSMessageBox::Request> shown;
    QList<QMessageBox::StandardButton> answers;
};

/// Answers file choosers with queued paths (Cancel when none is left).
struct Choosers
{
    Choosers()
    {
        TSFileDialogs::setAnswerer([this](const TSFileDialogs::Request& request) {
            asked.append(request);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    ~Choosers() { TSFileDialogs::setAnswerer({}); }
    Choosers(const Choosers&) = delete;
    Choosers& operator=(const Choosers&) = delete;

    QList<TSFileDialogs::Request> asked;
    QStringList answers;
};

/// Types text into the input dialog that is about to open and confirms it.
inline void answerNextInput(const QString& text, int tries = 200)
{
    QTimer::singleShot(0, [text, tries] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0) {
                answerNextInput(text, tries - 1);
            }
            return;
        }
        QLineEdit* edit = dialog->findChild<QLineEdit*>();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

} // namespace test
