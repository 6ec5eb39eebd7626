#include "game/GameContext.h"

void GameContext::unlinkResources() {
    links = WorldLinks{};
    player.model = nullptr;
    clockSlot.model = nullptr;
    for (Stone& stone : stones.stones) {
        stone.model = nullptr;
    }
}

void GameContext::report(GameEvent event) {
    if (links.events != nullptr) {
        links.events->report(event);
    }
}
