#pragma once
// Test helpers: answer the editor's message boxes and file choosers without showing them.

#include "TSFileDialogs.h"
#include "TSMessageBox.h"

#include <QList>
#include <QStringList>

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

} // namespace test
