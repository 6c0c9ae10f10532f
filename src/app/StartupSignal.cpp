#include "StartupSignal.h"

#include <QCoreApplication>
#include <QSharedMemory>

QString startupSegmentKey(qint64 processId)
{
    return QStringLiteral("wrenfold_%1").arg(processId);
}

void signalStartupComplete()
{
    QSharedMemory memory(startupSegmentKey(QCoreApplication::applicationPid()));
    if (!memory.attach(QSharedMemory::ReadWrite)) {
        return;
    }
    if (memory.size() > 0 && memory.lock()) {
        static_cast<char*>(memory.data())[0] = 1;
        memory.unlock();
    }
    memory.detach();
}
