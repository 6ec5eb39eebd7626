#pragma once

struct GameContext;

// The movement keys as held at the start of a pass of the main loop.
struct HeldKeys {
    bool w = false;
    bool a = false;
    bool s = false;
    bool d = false;
    bool space = false;
    bool t = false;

    bool operator==(const HeldKeys&) const = default;
};

// Applies the held keys in every game state: lanes and jumps while running, walking and turning
// in relic mode, and T while the relic hint shows. W wins over S and A over D.
void pollHeldKeys(GameContext& context, const HeldKeys& keys);
