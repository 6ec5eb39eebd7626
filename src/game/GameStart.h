#pragma once

class FrameOutput;
class GameClock;
struct GameContext;

// Enter on a text screen: resets the player, the world and the timers and starts the 90 seconds.
void startGame(GameContext& context, GameClock& clock, FrameOutput& output);
