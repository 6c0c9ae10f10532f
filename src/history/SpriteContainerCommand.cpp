#include "SpriteContainerCommand.h"

#include "HistoryManager.h"
#include "TSModelController.h"
#include "TSModelSpriteContainer.h"

SpriteContainerCommand::SpriteContainerCommand(const QString& text, HistoryManager* history,
                                               const SpriteContainerState& before,
                                               const SpriteContainerState& after)
    : HistoryCommand(text, true), m_history(history), m_before(before), m_after(after)
{
}

void SpriteContainerCommand::restore(const SpriteContainerState& state)
{
    auto* container =
        dynamic_cast<TSModelSpriteContainer*>(TSModelController::instance()->modelWithId(state.id()));
    if (!container) {
        return;
    }
    m_history->stopPlayback();
    state.restore(container);
    m_history->refreshSprites();
}
