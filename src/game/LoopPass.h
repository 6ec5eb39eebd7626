#pragma once

class CommandEffects;
class FrameOutput;
class GameClock;
class InputSource;
struct GameContext;
struct PassInput;

// One pass of the main loop, whoever runs it (the window, a headless replay, a test): the held
// keys, the pass's commands in order, clear, the state's work. `pass` is reused from pass to
// pass and keeps what the pass took from `input`.
void runLoopPass(GameContext& context, GameClock& clock, FrameOutput& output,
                 CommandEffects& effects, InputSource& input, PassInput& pass);
