#pragma once

#include <QString>

#include <string>

class TSModelController;

/// Loads the model files of a working folder in two passes over the registered classes (sorted
/// by name): first every class's attributes files, then every class's connections files. Files
/// of a class are numbered from 0; reading stops at the first missing number.
class TSSessionLoader
{
public:
    explicit TSSessionLoader(TSModelController* controller) : m_controller(controller) {}

    /// Reads every model file, sets the id counter past the loaded ids and reads the pictures.
    void load();
    /// One step: reads one file, or moves on to the next class or pass. True when done.
    bool loadStep();
    /// Reads one model file in pass 0 (attributes) or 1 (connections); false when the file does
    /// not exist, does not parse or has no "ROOT" array.
    bool loadFile(const QString& path, int pass);

private:
    TSModelController* m_controller;
};
