// Chronocell: a 3D runner. Reads the settings, opens the window, creates the game's content,
// runs the main loop and shuts down in order.
#include "app/Application.h"
#include "app/GameFrameOutput.h"
#include "app/GameResources.h"
#include "app/GlfwGameClock.h"
#include "app/MainLoop.h"
#include "app/SettingsFile.h"
#include "app/Startup.h"
#include "game/GameContext.h"

#include <GLFW/glfw3.h>

namespace {
constexpr int kSetupFailed = -1;
constexpr const char* kSettingsPath = "assets/settings.ini";
} // namespace

int main() {
    auto context = std::make_unique<GameContext>();
    context->settings = readSettings(kSettingsPath);

    GLFWwindow* window = createGameWindow(context->settings);
    if (window == nullptr) {
        return kSetupFailed;
    }
    if (!loadOpenGlFunctions()) {
        glfwTerminate();
        return kSetupFailed;
    }
    configureOpenGl(window, context->settings);
    {
        std::unique_ptr<GameResources> resources = createGameResources(*context);
        GlfwGameClock clock;
        GameFrameOutput output(window, *resources);
        Application application{*context, clock, output};
        glfwSetWindowUserPointer(window, &application);

        prepareFirstPass(context->clock);
        runMainLoop(window, application, *resources);
        glfwSetWindowUserPointer(window, nullptr);
        context->unlinkResources();
    }
    glfwTerminate();
    return 0;
}
