#pragma once

struct GameContext;
struct GameResources;

// The world of a frame of ordinary play: ground, trees, stones and clock, the player (who moves
// the camera), then the particles with the camera as it now stands.
void runScenePass(GameContext& context, GameResources& resources);

// The world in relic mode: the player first, so everything else sees this frame's camera.
void runRelicScenePass(GameContext& context, GameResources& resources);
