#pragma once

#include "game/FrameOutput.h"

#include <glm/glm.hpp>
#include <vector>

struct GameResources;
struct GLFWwindow;
class Model;

// The reference for the game's frame: the same ground, tree, stone, clock, player and particle
// draws from the same GPU objects, with every uniform location looked up once, no status texts
// and no relic hint. What the game costs beyond this is the cost of how it draws.
class BareSceneOutput : public FrameOutput {
  public:
    BareSceneOutput(GLFWwindow* window, GameResources& resources);

    void clearFrame() override;
    void setClearColor(const glm::vec4& colour) override;
    void drawScreenTexts(Screen /*screen*/) override {}
    void drawScene(GameContext& context) override;
    void drawRelicScene(GameContext& context) override;
    void drawStatusTexts(const GameContext& /*context*/) override {}
    void drawRelicHint() override {}
    void swapBuffers() override;
    void applyRasterState(bool /*wireframe*/, bool /*cullingEnabled*/) override {}

  private:
    struct LitLocations {
        int modelMatrix = -1;
        int normalMatrix = -1;
        int viewProjMatrix = -1;
        int cameraWorld = -1;
        int brightness = -1;
        int dirColor = -1;
        int dirDirection = -1;
        int pointColor = -1;
        int pointPosition = -1;
        int pointAttenuation = -1;
        int matAmbient = -1;
        int matDiffuse = -1;
        int matSpecular = -1;
        int matShininess = -1;
        int bones = -1;
    };
    struct ParticleLocations {
        int view = -1;
        int projection = -1;
        int color = -1;
        int brightness = -1;
    };

    static LitLocations lookUpLit(unsigned int program);
    void uploadScene(unsigned int program, const LitLocations& at, const GameContext& context);
    void drawModel(const Model& model, const LitLocations& at);
    void drawPlaced(const Model* model, const glm::mat4& modelMatrix);
    void drawGround(const GameContext& context);
    void drawProps(const GameContext& context);
    void drawPlayer(GameContext& context);
    void drawParticles(const GameContext& context);

    GLFWwindow* window_;
    GameResources& resources_;
    LitLocations ground_;
    LitLocations props_;
    LitLocations animated_;
    ParticleLocations particles_;
    std::vector<glm::mat4> bones_;
};
