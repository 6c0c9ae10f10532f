#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

/// The file choosers of the editor. Tests (and scripts) can answer them without showing a dialog.
class TSFileDialogs
{
public:
    enum class Kind { Open, OpenSeveral, Save, Directory };
    struct Request
    {
        Kind kind;
        QString caption;
        QString directory;
        QString filter;
    };
    /// Returns the chosen path, or an empty string for Cancel; several paths (OpenSeveral) are
    /// separated by new lines.
    using Answerer = std::function<QString(const Request&)>;

    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter);
    /// Several existing files; an empty list for Cancel.
    static QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                        const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter);
    static QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& directory);

    static void setAnswerer(Answerer answerer);
};
