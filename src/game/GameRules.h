#pragma once

#include "game/GameState.h"

class FrameOutput;
class GameClock;
struct GameContext;

// One frame of play after the frame clock has run: the relic-mode frame while the player walks to
// the relic, otherwise the timers advance and either the phase switches or a normal frame runs.
void runPlayingFrame(GameContext& context, GameClock& clock, FrameOutput& output);

// Ordinary play: run, spawn stones ahead, collide, draw, check the end, show the texts.
void runNormalFrame(GameContext& context, FrameOutput& output);

// The switch between forward and reversed running, frozen for a second under red light.
void runPhaseSwitchFrame(GameContext& context, GameClock& clock, FrameOutput& output);

// At 90 seconds of game time a game not already lost is won with three relics, lost otherwise.
void checkGameEnd(GameContext& context);

// Both particle trails follow their emitters: the player's always, the clock's while it waits.
void updateParticleSystems(GameContext& context);

// On the start screen the player's trail keeps moving without being drawn.
void updateIdleParticles(GameContext& context);
// One step of the player's motion, running or walking to the relic; reports the jump it starts
// and the landing that ends a jump.
void movePlayer(GameContext& context);

// Ends the game as won or lost and reports which.
void endGame(GameContext& context, GameState result);

// Lost when the player's box touches any stone; returns whether it did.
bool collideWithStones(GameContext& context);
