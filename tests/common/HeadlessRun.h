#pragma once
// Test helpers for running the real program the way a build machine would, and for documents
// made from a shipped one with some models taken out.

#include "TSProjectArchive.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace test {

/// The environment of a headless run: no display or chosen platform, a home folder and a temporary
/// folder of its own under root, and pathFirst (when given) in front of the search path.
inline QProcessEnvironment headlessEnvironment(const QString& root, const QString& pathFirst = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    const QString home = root + QStringLiteral("/home");
    QDir().mkpath(home);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("TMPDIR"), root);
    if (!pathFirst.isEmpty()) {
        environment.insert(QStringLiteral("PATH"),
                           pathFirst + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    }
    return environment;
}

/// What a headless run ended with and wrote to each output stream.
struct HeadlessRun
{
    int status = -1; ///< the exit status; −1 after a crash, −2 when it did not end in two minutes
    QByteArray out;
    QByteArray err;
};

/// Runs program with arguments in headlessEnvironment(root, pathFirst), keeping its two output
/// streams apart.
inline HeadlessRun runHeadlessApart(const QString& program, const QStringList& arguments, const QString& root,
                                    const QString& pathFirst = QString())
{
    HeadlessRun run;
    QProcess process;
    process.setProcessEnvironment(headlessEnvironment(root, pathFirst));
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.status = -2;
        return run;
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    return run;
}

/// Runs program with arguments in headlessEnvironment(root). Returns the exit status, −1 on a
/// crash and −2 when it has not ended after two minutes; log receives what it wrote to both
/// output streams, in the order written.
inline int runHeadless(const QString& program, const QStringList& arguments, const QString& root,
                       QByteArray* log = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(headlessEnvironment(root));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -2;
    }
    if (log) {
        *log = process.readAll();
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

/// A copy of the document at source, written to folder + ".bsdoc", without the model files of
/// one class; empty when any step fails.
inline QString documentWithout(const QString& source, const QString& modelClass, const QString& folder)
{
    if (!QDir().mkpath(folder) || !TSProjectArchive::extract(source, folder).opened) {
        return QString();
    }
    QDir dir(folder);
    for (const QString& file : dir.entryList({modelClass + QStringLiteral(".*")}, QDir::Files)) {
        if (!dir.remove(file)) {
            return QString();
        }
    }
    const QString document = folder + QStringLiteral(".bsdoc");
    const auto written =
        TSProjectArchive::compress(folder, TSProjectArchive::collectFiles(folder), document, {});
    return written == TSProjectArchive::CompressResult::Ok ? document : QString();
}

} // namespace test
