#pragma once

class QWidget;

/// The Help menu's boxes: the help text (or the README beside the program), the about box and
/// the answer to "Check For Updates".
class HelpBoxes
{
public:
    static void showHelp(QWidget* parent);
    static void showAbout(QWidget* parent);
    static void checkForUpdates(QWidget* parent);
};
