#include "CommandLine.h"

#include <QFileInfo>

CommandLineRequest CommandLine::parse(const QStringList& arguments, const QString& extension)
{
    CommandLineRequest request;
    if (arguments.size() == 5 && arguments.at(1) == QLatin1String("-export")) {
        request.kind = CommandLineRequest::Export;
        request.document = arguments.at(2);
        request.framesFolder = arguments.at(3);
        request.gifPath = arguments.at(4);
        return request;
    }
    const QString suffix = QLatin1Char('.') + extension;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.endsWith(suffix, Qt::CaseSensitive) && QFileInfo(argument).isFile()) {
            request.kind = CommandLineRequest::Open;
            request.document = argument;
        }
    }
    return request;
}
