// The application floor with the real window: start-up state, the window callbacks, the clear
// colour each pass of the main loop leaves, and the shutdown's unlinking of the resources.
#include "input/Application.h"
#include "app/Startup.h"
#include "game/GameStart.h"
#include "game/PassInput.h"
#include "game/StatePass.h"
#include "input/KeyboardInput.h"
#include "input/WindowCallbacks.h"
#include "scene/DebugOutput.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "session/MainLoop.h"
#include "support/GlTestEnvironment.h"
#include "unit/RulesTestSupport.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace {

constexpr int kTestWidth = 800;
constexpr int kTestHeight = 600;
constexpr double kClockBefore = 7.0;

// The GL and window state the tests change, put back as the test program set it up.
void restoreWindowAndRaster(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    glViewport(0, 0, kTestWidth, kTestHeight);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
}

std::array<float, 4> clearColour() {
    std::array<float, 4> colour{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour.data());
    return colour;
}

class GameApplication : public testing::Test {
  protected:
    GameApplication() { glfwSetWindowUserPointer(window, &application); }
    ~GameApplication() override {
        glfwSetWindowUserPointer(window, nullptr);
        restoreWindowAndRaster(window);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }

    GLFWwindow* window = glTestWindow();
    GameContext context;
    std::unique_ptr<GameResources> resources = createGameResources(context);
    FakeClock clock;
    GameFrameOutput output{window, *resources};
    Application application{context, clock, output};
};

// What a key or window event can change, flattened to one line so a mismatch reads at a glance.
std::string observe(GLFWwindow* window, const GameContext& context, const FakeClock& clock) {
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const Settings& settings = context.settings;
    return "state " + std::to_string(static_cast<int>(context.state)) + ", brightness tenths " +
           std::to_string(std::lround(settings.shaderBrightness * 10.0f)) + ", refresh " +
           std::to_string(settings.refreshRate) + ", hud " +
           std::to_string(context.clock.hudVisible) + ", wireframe " +
           std::to_string(context.input.wireframe) + " mode " + std::to_string(polygonMode[0]) +
           ", culling " + std::to_string(context.input.cullingEnabled) + " enabled " +
           std::to_string(glIsEnabled(GL_CULL_FACE)) + ", close " +
           std::to_string(glfwWindowShouldClose(window)) + ", distance " +
           std::to_string(context.camera.distance) + ", viewport " + std::to_string(viewport[2]) +
           "x" + std::to_string(viewport[3]) + ", clock " + std::to_string(clock.time);
}

using Event = std::function<void(GLFWwindow*)>;

Event key(int code, int action) {
    return [=](GLFWwindow* window) { keyCallback(window, code, 0, action, 0); };
}
Event release(int code) {
    return key(code, GLFW_RELEASE);
}
Event scroll(double offset) {
    return [=](GLFWwindow* window) { scrollCallback(window, 0.0, offset); };
}

// A game start sets the clock back to 0 from kClockBefore.
void gameStarted(GameContext& context, FakeClock& clock) {
    context.state = GameState::Playing;
    clock.time = 0.0;
}

} // namespace

TEST_F(GameApplication, KeyAndWindowEventsActThroughTheRealCallbacks) {
    struct Case {
        const char* name;
        GameState before;
        std::vector<Event> events;
        std::function<void(GameContext&, FakeClock&)> effect;
    };
    const auto none = [](GameContext&, FakeClock&) {};
    const std::vector<Case> cases = {
        {"Enter held",
         GameState::StartScreen,
         {key(GLFW_KEY_ENTER, GLFW_PRESS), key(GLFW_KEY_ENTER, GLFW_REPEAT)},
         none},
        {"Enter on the start screen",
         GameState::StartScreen,
         {release(GLFW_KEY_ENTER)},
         gameStarted},
        {"Enter on the won screen", GameState::Won, {release(GLFW_KEY_ENTER)}, gameStarted},
        {"Enter in play", GameState::Playing, {release(GLFW_KEY_ENTER)}, none},
        {"Escape held in play", GameState::Playing, {key(GLFW_KEY_ESCAPE, GLFW_PRESS)}, none},
        {"Escape in play",
         GameState::Playing,
         {release(GLFW_KEY_ESCAPE)},
         [](GameContext& c, FakeClock&) { c.state = GameState::StartScreen; }},
        {"Escape on a screen",
         GameState::Won,
         {release(GLFW_KEY_ESCAPE)},
         [](GameContext&, FakeClock&) { glfwSetWindowShouldClose(glTestWindow(), GLFW_TRUE); }},
        {"Up",
         GameState::Playing,
         {release(GLFW_KEY_UP)},
         [](GameContext& c, FakeClock&) { c.settings.shaderBrightness = 0.4f; }},
        {"Down",
         GameState::Playing,
         {release(GLFW_KEY_DOWN)},
         [](GameContext& c, FakeClock&) { c.settings.shaderBrightness = 0.2f; }},
        {"L",
         GameState::StartScreen,
         {release(GLFW_KEY_L)},
         [](GameContext& c, FakeClock&) { c.settings.refreshRate = 50; }},
        {"O",
         GameState::StartScreen,
         {release(GLFW_KEY_O)},
         [](GameContext& c, FakeClock&) { c.settings.refreshRate = 70; }},
        {"F1",
         GameState::Playing,
         {release(GLFW_KEY_F1)},
         [](GameContext& c, FakeClock&) {
             c.input.wireframe = true;
             glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
         }},
        {"F2",
         GameState::Playing,
         {release(GLFW_KEY_F2)},
         [](GameContext& c, FakeClock&) {
             c.input.cullingEnabled = false;
             glDisable(GL_CULL_FACE);
         }},
        {"F3",
         GameState::Playing,
         {release(GLFW_KEY_F3)},
         [](GameContext& c, FakeClock&) { c.clock.hudVisible = false; }},
        // A game start puts the picture back to filled, culled polygons along with the flags.
        {"F1, F2, then Enter",
         GameState::Lost,
         {release(GLFW_KEY_F1), release(GLFW_KEY_F2), release(GLFW_KEY_ENTER)},
         gameStarted},
        {"wheel forward",
         GameState::Playing,
         {scroll(1.0)},
         [](GameContext& c, FakeClock&) { c.camera.distance = 12.0f; }},
        {"wheel back",
         GameState::Playing,
         {scroll(-1.0)},
         [](GameContext& c, FakeClock&) { c.camera.distance = 14.0f; }},
        {"wheel far forward",
         GameState::Playing,
         {scroll(10.0)},
         [](GameContext& c, FakeClock&) { c.camera.distance = 10.0f; }},
        {"wheel far back",
         GameState::Playing,
         {scroll(-10.0)},
         [](GameContext& c, FakeClock&) { c.camera.distance = 20.0f; }},
        {"framebuffer resized",
         GameState::Playing,
         {[](GLFWwindow* w) { framebufferSizeCallback(w, 640, 480); }},
         [](GameContext&, FakeClock&) { glViewport(0, 0, 640, 480); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto reset = [&] {
            restoreWindowAndRaster(window);
            context.state = test.before;
            context.settings = Settings{};
            context.clock.hudVisible = true;
            context.input = InputFlags{};
            context.camera.distance = Camera::kDefaultDistance;
            clock.time = kClockBefore;
        };
        reset();
        test.effect(context, clock);
        const std::string expected = observe(window, context, clock);
        reset();
        for (const Event& event : test.events) {
            event(window);
        }
        // The callbacks only gather; the pass runs what they gathered.
        std::vector<PassCommand> commands;
        KeyboardInput(window, application).collectCommands(commands);
        runCommands(window, application, commands);
        EXPECT_EQ(observe(window, context, clock), expected);
    }
}

TEST_F(GameApplication, EachStateLeavesItsClearColourForTheNextPass) {
    using Colour = std::array<float, 4>;
    const Colour white{1.0f, 1.0f, 1.0f, 1.0f};
    const Colour black{0.0f, 0.0f, 0.0f, 0.0f};
    const Colour green{0.0f, 1.0f, 0.0f, 0.0f};
    const Colour red{1.0f, 0.0f, 0.0f, 0.0f};

    glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
    context.clock.displayedFps = 5;
    context.clock.frameCount = 9;
    prepareFirstPass(context, output);
    EXPECT_EQ(clearColour(), white);
    EXPECT_EQ(context.clock.displayedFps, 0);
    EXPECT_EQ(context.clock.frameCount, 0);

    KeyboardInput keyboard(window, application);
    PassInput pass;
    // Play keeps the colour of the screen the game was started from.
    const struct {
        std::vector<GameState> passes;
        Colour colour;
    } cases[] = {
        {{GameState::StartScreen}, black},
        {{GameState::Won}, green},
        {{GameState::Lost}, red},
        {{GameState::StartScreen, GameState::Playing}, black},
        {{GameState::Won, GameState::Playing}, green},
        {{GameState::Lost, GameState::Playing}, red},
    };
    for (const auto& test : cases) {
        glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
        for (GameState state : test.passes) {
            context.state = state;
            if (state == GameState::Playing) {
                startGame(context, clock, output);
            }
            runLoopPass(window, application, keyboard, pass);
        }
        EXPECT_EQ(clearColour(), test.colour) << static_cast<int>(test.passes.front());
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(GameApplication, ShutdownLeavesNoPointerToTheResources) {
    context.stones.addStone(Stone::create(context.random, 0.0f, 4.0f, context.links.stoneModel));
    context.clockSlot = Clock::create(context.random, glm::vec3(0.0f), context.links.clockModel);
    ASSERT_NE(context.player.model, nullptr);
    ASSERT_NE(context.stones.stones.front().model, nullptr);
    ASSERT_NE(context.clockSlot.model, nullptr);

    context.unlinkResources();
    EXPECT_EQ(context.player.model, nullptr);
    EXPECT_EQ(context.stones.stones.front().model, nullptr);
    EXPECT_EQ(context.clockSlot.model, nullptr);
    const WorldLinks& links = context.links;
    EXPECT_EQ(links.stoneModel, nullptr);
    EXPECT_EQ(links.clockModel, nullptr);
    EXPECT_EQ(links.playerParticles, nullptr);
    EXPECT_EQ(links.clockParticles, nullptr);
    EXPECT_EQ(links.directionalLight, nullptr);
}

TEST(Startup, ConfigureOpenGlSetsTheFixedState) {
    GLFWwindow* window = glTestWindow();
    // Every piece spoiled first, so each has to be set again.
    glViewport(0, 0, 1, 1);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEBUG_OUTPUT);
    glDebugMessageCallback(nullptr, nullptr);
    stbi_set_flip_vertically_on_load(false);
    glfwSetKeyCallback(window, nullptr);
    glfwSetFramebufferSizeCallback(window, nullptr);
    glfwSetCursorPosCallback(window, nullptr);
    glfwSetScrollCallback(window, nullptr);

    Settings settings;
    settings.width = 640;
    settings.height = 480;
    configureOpenGl(window, settings);

    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    glViewport(0, 0, kTestWidth, kTestHeight);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEBUG_OUTPUT));
    void* callback = nullptr;
    glGetPointerv(GL_DEBUG_CALLBACK_FUNCTION, &callback);
    EXPECT_EQ(callback, reinterpret_cast<void*>(&debugMessageCallback));
    // Setting a callback hands back the one registered before.
    EXPECT_EQ(glfwSetKeyCallback(window, keyCallback), &keyCallback);
    EXPECT_EQ(glfwSetFramebufferSizeCallback(window, framebufferSizeCallback),
              &framebufferSizeCallback);
    EXPECT_EQ(glfwSetCursorPosCallback(window, cursorPositionCallback), &cursorPositionCallback);
    EXPECT_EQ(glfwSetScrollCallback(window, scrollCallback), &scrollCallback);

    // Two rows, red on top of blue: decoded flipped, the blue row comes first.
    const auto file = std::filesystem::temp_directory_path() / "chronocell_flip_check.png";
    const unsigned char redOverBlue[] = {255, 0, 0, 0, 0, 255};
    ASSERT_NE(stbi_write_png(file.c_str(), 1, 2, 3, redOverBlue, 3), 0);
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* decoded = stbi_load(file.c_str(), &width, &height, &channels, 3);
    std::filesystem::remove(file);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded[0], 0);
    EXPECT_EQ(decoded[2], 255);
    stbi_image_free(decoded);
}

TEST(DebugOutput, WritesOneLinePerMessageAndDropsTheTwoNoisyIds) {
    const struct {
        GLenum type;
        GLuint id;
        GLenum severity;
        const char* line;
    } cases[] = {
        {GL_DEBUG_TYPE_ERROR, 1, GL_DEBUG_SEVERITY_HIGH,
         "GL CALLBACK: ** GL ERROR ** type = 0x824c, severity = 0x9146, message = text\n"},
        {GL_DEBUG_TYPE_PERFORMANCE, 2, GL_DEBUG_SEVERITY_LOW,
         "GL CALLBACK:  type = 0x8250, severity = 0x9148, message = text\n"},
        {GL_DEBUG_TYPE_OTHER, 131185, GL_DEBUG_SEVERITY_NOTIFICATION, ""},
        {GL_DEBUG_TYPE_PERFORMANCE, 131218, GL_DEBUG_SEVERITY_MEDIUM, ""},
    };
    for (const auto& test : cases) {
        testing::internal::CaptureStderr();
        debugMessageCallback(GL_DEBUG_SOURCE_API, test.type, test.id, test.severity, 4, "text",
                             nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), test.line) << test.id;
    }
}
