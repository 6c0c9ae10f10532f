#include "TSApplication.h"

#include <clocale>

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(resources);
    TSApplication application(argc, argv);
    // Numbers in files are written and read with a point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    application.setAppInfo(AppInfo::bonestageRecord());
    application.start();
    return application.exec();
}
