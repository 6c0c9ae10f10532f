// Writes the template library into a Resources folder: make_templates <Resources folder>.
#include "AnimationModelClasses.h"
#include "TemplateGenerator.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_templates <Resources folder>\n");
        return 2;
    }
    // Working folders of the document writer stay out of the way, and no window is needed.
    QTemporaryDir scratch;
    qputenv("TMPDIR", scratch.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("wrenfold"));
    QCoreApplication::setApplicationName(QStringLiteral("BonestageTemplates"));
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    AnimationModelClasses::registerAll();
    QString error;
    const QStringList written = TemplateGenerator::generate(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(), &error);
    for (const QString& file : written) {
        std::printf("%s\n", qPrintable(file));
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "error: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
