#pragma once

#include "RandomTestHelpers.h"
#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"
#include "render/DirectionalLight.h"

#include <string>
#include <vector>

// One frame at 60 frames a second.
inline constexpr double kFrame = 1.0 / 60.0;

// A tall stone standing at (x, 0, z), as a stone of the outer lanes is made.
Stone stoneAt(float x, float z);

// A clock waiting at `position` to be collected.
Clock clockAt(const glm::vec3& position);

// A game clock moved by hand; sleeping advances it instantly, as the real sleep would.
class FakeClock : public GameClock {
  public:
    double time = 0.0;
    int sleptMilliseconds = 0;

    double now() override { return time; }
    void setTime(double seconds) override { time = seconds; }
    void sleepMilliseconds(int milliseconds) override {
        sleptMilliseconds += milliseconds;
        time += milliseconds / 1000.0;
    }
};

// Records what a frame would have drawn, in order.
class RecordingOutput : public FrameOutput {
  public:
    std::vector<std::string> calls;
    glm::vec3 lightColorAtScene{-1.0f};
    const DirectionalLight* light = nullptr;

    void clearFrame() override { calls.push_back("clear"); }
    void setClearColor(const glm::vec4& colour) override;
    void drawScreenTexts(Screen screen) override;
    void drawScene(GameContext& context) override;
    void drawRelicScene(GameContext&) override { calls.push_back("relicScene"); }
    void drawStatusTexts(const GameContext&) override { calls.push_back("status"); }
    void drawRelicHint() override { calls.push_back("hint"); }
    void swapBuffers() override { calls.push_back("swap"); }
    void applyRasterState(bool wireframe, bool cullingEnabled) override;

    int count(const std::string& call) const;
};

// Records what the rules reported, in order.
class RecordingEvents : public GameEvents {
  public:
    std::vector<GameEvent> reported;

    void report(GameEvent event) override { reported.push_back(event); }
};

// A context with a started game at time 0 and a clock and output to drive it.
struct RulesFixture {
    GameContext context;
    FakeClock clock;
    RecordingOutput output;
    DirectionalLight light;
    RecordingEvents events;

    RulesFixture();
    // Runs one pass of play at the fake clock's time plus dt, as the main loop would.
    void frame(double dt);
    // Restarts the game as Enter would.
    void restart();
};
