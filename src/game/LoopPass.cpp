#include "game/LoopPass.h"

#include "game/FrameOutput.h"
#include "game/KeyCommands.h"
#include "game/PassInput.h"
#include "game/StatePass.h"

void runLoopPass(GameContext& context, GameClock& clock, FrameOutput& output,
                 CommandEffects& effects, InputSource& input, PassInput& pass) {
    pass.held = input.sampleHeldKeys();
    pollHeldKeys(context, pass.held);
    pass.commands.clear();
    input.collectCommands(pass.commands);
    pass.keepCommandsInBounds();
    runCommands(context, clock, output, effects, pass.commands);
    output.clearFrame();
    runStatePass(context, clock, output);
}
