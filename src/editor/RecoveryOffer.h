#pragma once

#include <QString>

class TSMainWindow;

/// At start-up: asks, one session after the other, what to do with the unsaved work that editors
/// which ended without saving left in their working folders. Recover opens the work as a changed
/// document and removes its folder; Discard removes the folder; Later leaves it for the next
/// start. Once a session is recovered the rest wait for the next start (the editor holds one
/// document). A state this editor cannot read is never opened: Discard or Later only.
class RecoveryOffer
{
public:
    /// The question of a session whose document is called name and whose state is from time.
    static QString question(const QString& name, const QString& time);
    /// Asks about every recoverable session; true when one was recovered into window.
    static bool run(TSMainWindow* window);
};
