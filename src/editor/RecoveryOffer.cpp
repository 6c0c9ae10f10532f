#include "RecoveryOffer.h"

#include "RecoveryFolder.h"
#include "TSMainWindow.h"
#include "TSMessageBox.h"
#include "TSModelController.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

const QString kTitle = QStringLiteral("Recover unsaved work");

} // namespace

QString RecoveryOffer::question(const QString& name, const QString& time)
{
    return QStringLiteral("Recover unsaved work from %1, %2?").arg(name, time);
}

bool RecoveryOffer::run(TSMainWindow* window)
{
    TSModelController* controller = TSModelController::instance();
    QWidget* parent = window->isVisible() ? static_cast<QWidget*>(window) : window->welcomeWindow();
    for (const QString& session : controller->recoverableSessions()) {
        RecoveryManifest manifest;
        QString problem;
        const QString folder = controller->baseFolder() + QLatin1Char('/') + session;
        if (RecoveryFolder::read(folder, &manifest, &problem) != RecoveryManifest::Status::Ok) {
            qWarning("[RecoveryOffer] the unsaved work in %s cannot be opened: %s", qPrintable(folder),
                     qPrintable(problem));
            const QString text =
                QStringLiteral("Unsaved work was left in a form this version of %1 cannot open. Discard it?")
                    .arg(QCoreApplication::applicationName());
            if (TSMessageBox::ask(parent, kTitle, text,
                                  {{QMessageBox::Discard, QStringLiteral("Discard")},
                                   {QMessageBox::Cancel, QStringLiteral("Later")}},
                                  QMessageBox::Cancel) == QMessageBox::Discard) {
                controller->discardSession(session);
            }
            continue;
        }
        const QString name =
            manifest.documentName.isEmpty() ? QStringLiteral("Untitled") : manifest.documentName;
        const QString time = manifest.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        const QMessageBox::StandardButton answer =
            TSMessageBox::ask(parent, kTitle, question(name, time),
                              {{QMessageBox::Open, QStringLiteral("Recover")},
                               {QMessageBox::Discard, QStringLiteral("Discard")},
                               {QMessageBox::Cancel, QStringLiteral("Later")}},
                              QMessageBox::Open);
        if (answer == QMessageBox::Discard) {
            controller->discardSession(session);
        } else if (answer == QMessageBox::Open && window->recoverSession(session, manifest.documentName)) {
            controller->discardSession(session);
            window->showEditor();
            return true;
        }
    }
    return false;
}
