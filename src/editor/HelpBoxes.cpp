#include "HelpBoxes.h"

#include "AppInfo.h"
#include "ResourceLocator.h"
#include "TSMessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void HelpBoxes::showHelp(QWidget* parent)
{
    // The user guide ships with the templates: beside the program, or in the installed data folder.
    const QString readme = ResourceLocator::locate(QStringLiteral("README.md"));
    if (!QFileInfo::exists(readme) || !QDesktopServices::openUrl(QUrl::fromLocalFile(readme))) {
        TSMessageBox::information(
            parent, QApplication::applicationDisplayName() + QStringLiteral(" Help"),
            QStringLiteral("Drop PNG images on a joint to bind them. Turn on Animation mode (the diamond button on "
                           "the canvas) to pose joints: drag to move, drag a corner to scale, hold Ctrl on a corner "
                           "to rotate. Every finished drag keys the pose at the current frame. P plays and pauses."));
    }
}

void HelpBoxes::showAbout(QWidget* parent)
{
    TSMessageBox::information(parent, QStringLiteral("About ") + appInfo(AppInfo::AppName),
                              appInfo(AppInfo::AppName) + QStringLiteral("\nVersion ") + appInfo(AppInfo::Version) +
                                  QStringLiteral("\n\nA 2D skeletal animation editor."));
}

void HelpBoxes::checkForUpdates(QWidget* parent)
{
    TSMessageBox::information(parent, QStringLiteral("Check For Updates"),
                              QStringLiteral("Updates come with your system's packages on this platform; there is "
                                             "no separate update service to ask."));
}
