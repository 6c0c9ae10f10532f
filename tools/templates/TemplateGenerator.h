#pragma once

#include <QString>
#include <QStringList>

/// Makes the template library that ships with the editor: the skeleton templates (skeleton.json,
/// placeholder images, animation files), the starting document of File → New, one document per
/// template and a preview picture of each. Everything is drawn and computed here, the same way
/// every time, so the output can be checked against the files in the repository.
class TemplateGenerator
{
public:
    /// Writes into resources/animations/ and resources/projects/. Returns the files written,
    /// relative to resources; errors go to error.
    static QStringList generate(const QString& resources, QString* error = nullptr);
};
