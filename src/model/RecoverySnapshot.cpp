#include "RecoverySnapshot.h"

#include "RecoverySnapshotBuilder.h"

#include <limits>

RecoverySnapshot RecoverySnapshot::take(TSModelController* controller, const RecoveryManifest& manifest)
{
    RecoverySnapshotBuilder builder(controller, manifest);
    builder.step(std::numeric_limits<qint64>::max());
    return builder.result();
}
