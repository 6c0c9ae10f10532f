#include "TSFileDialogs.h"

#include <QFileDialog>

namespace {

TSFileDialogs::Answerer& answerer()
{
    static TSFileDialogs::Answerer instance;
    return instance;
}

} // namespace

void TSFileDialogs::setAnswerer(Answerer answer)
{
    answerer() = std::move(answer);
}

QString TSFileDialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                       const QString& filter)
{
    if (answerer()) {
        return answerer()(Request{Kind::Open, caption, directory, filter});
    }
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QStringList TSFileDialogs::getOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                           const QString& filter)
{
    if (answerer()) {
        return answerer()(Request{Kind::OpenSeveral, caption, directory, filter})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
}

QString TSFileDialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                       const QString& filter)
{
    if (answerer()) {
        return answerer()(Request{Kind::Save, caption, directory, filter});
    }
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

QString TSFileDialogs::getExistingDirectory(QWidget* parent, const QString& caption, const QString& directory)
{
    if (answerer()) {
        return answerer()(Request{Kind::Directory, caption, directory, QString()});
    }
    return QFileDialog::getExistingDirectory(parent, caption, directory, QFileDialog::ShowDirsOnly);
}
