#include "game/KeyCommands.h"

#include "game/CommandEffects.h"
#include "game/FrameOutput.h"
#include "game/GameContext.h"
#include "game/GameStart.h"
#include "game/KeyCodes.h"

namespace {

constexpr int kRefreshRateStep = 10;
constexpr float kBrightnessStep = 0.1f;

void changeRefreshRate(Settings& settings, CommandEffects& effects, int step) {
    settings.refreshRate = stepRefreshRate(settings.refreshRate, step);
    effects.refreshRateChanged(settings.refreshRate);
}

void onEscape(GameContext& context, CommandEffects& effects) {
    if (context.state == GameState::Playing) {
        context.state = GameState::StartScreen;
        effects.playLeft();
    } else {
        effects.quitRequested();
    }
}

void onEnter(GameContext& context, GameClock& clock, FrameOutput& output) {
    if (context.state != GameState::Playing) {
        startGame(context, clock, output);
    }
}

void toggleWireframe(GameContext& context, FrameOutput& output) {
    InputFlags& input = context.input;
    input.wireframe = !input.wireframe;
    output.applyRasterState(input.wireframe, input.cullingEnabled);
}

void toggleCulling(GameContext& context, FrameOutput& output) {
    InputFlags& input = context.input;
    input.cullingEnabled = !input.cullingEnabled;
    output.applyRasterState(input.wireframe, input.cullingEnabled);
}

} // namespace

void runCommands(GameContext& context, GameClock& clock, FrameOutput& output,
                 CommandEffects& effects, const std::vector<PassCommand>& commands) {
    for (const PassCommand& command : commands) {
        if (command.kind == PassCommand::Kind::Key) {
            runKeyCommand(context, clock, output, effects, command.key);
        } else {
            zoomCamera(context, command.steps);
        }
    }
}

void runKeyCommand(GameContext& context, GameClock& clock, FrameOutput& output,
                   CommandEffects& effects, int key) {
    Settings& settings = context.settings;
    switch (key) {
    case keys::kF:
        settings.fullscreen = !settings.fullscreen;
        effects.fullscreenChanged();
        break;
    case keys::kL:
        changeRefreshRate(settings, effects, -kRefreshRateStep);
        break;
    case keys::kO:
        changeRefreshRate(settings, effects, kRefreshRateStep);
        break;
    case keys::kEscape:
        onEscape(context, effects);
        break;
    case keys::kEnter:
        onEnter(context, clock, output);
        break;
    case keys::kDown:
        settings.shaderBrightness = stepBrightness(settings.shaderBrightness, -kBrightnessStep);
        break;
    case keys::kUp:
        settings.shaderBrightness = stepBrightness(settings.shaderBrightness, kBrightnessStep);
        break;
    case keys::kF1:
        toggleWireframe(context, output);
        break;
    case keys::kF2:
        toggleCulling(context, output);
        break;
    case keys::kF3:
        context.clock.hudVisible = !context.clock.hudVisible;
        break;
    case keys::kM:
        effects.muteToggled();
        break;
    default:
        break;
    }
}

void zoomCamera(GameContext& context, double steps) {
    context.camera.zoom(static_cast<float>(steps));
}
