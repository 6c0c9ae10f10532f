#pragma once

class QWidget;

/// The Help menu's boxes: the user guide (README.md, which ships with the data) or a short help
/// text when it is missing, the about box and the answer to "Check For Updates".
class HelpBoxes
{
public:
    static void showHelp(QWidget* parent);
    static void showAbout(QWidget* parent);
    static void checkForUpdates(QWidget* parent);
};
