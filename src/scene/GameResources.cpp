#include "scene/GameResources.h"

#include "scene/DriverWarmUp.h"

#include "game/GameContext.h"
#include "render/Texture.h"
#include "world/Ground.h"

#include <glad/gl.h>

namespace {

void createPrograms(GameResources& resources) {
    resources.materialShader = std::make_shared<Shader>(
        "assets\\shader\\materialVertexShader.vert", "assets\\shader\\materialFragmentShader.frag");
    resources.animationShader =
        std::make_shared<Shader>("assets\\shader\\vertexShaderAnimation.vert",
                                 "assets\\shader\\fragmentShaderAnimation.frag");
    resources.textureShader =
        std::make_shared<Shader>("assets\\shader\\textureMaterialVertexShader.vert",
                                 "assets\\shader\\textureMaterialFragmentShader.frag");
    resources.particleShader = std::make_shared<Shader>(
        "assets\\shader\\particelShaderVertex.vert", "assets\\shader\\particelShaderFragment.frag");
}

void createModels(GameResources& resources) {
    resources.clockModel = std::make_unique<Model>("assets\\objects\\clock.obj");
    resources.characterModel = std::make_unique<Model>("assets\\objects\\character.fbx");
    resources.stoneModel = std::make_unique<Model>("assets\\objects\\stone.obj");
    resources.treeModel = std::make_unique<Model>("assets\\objects\\tree.obj");
}

void linkWorld(GameContext& context, GameResources& resources) {
    context.links.stoneModel = resources.stoneModel.get();
    context.links.clockModel = resources.clockModel.get();
    context.links.playerParticles = resources.playerParticles.get();
    context.links.clockParticles = resources.clockParticles.get();
    context.links.directionalLight = &resources.directionalLight;
}

void report(const std::function<void(const char*)>& groupLoaded, const char* group) {
    if (groupLoaded) {
        groupLoaded(group);
    }
}

} // namespace

GameResources::~GameResources() {
    // A program still in use outlives its deletion, and its shaders with it.
    glUseProgram(0);
    const unsigned int textures[] = {grassTexture, pathTexture};
    glDeleteTextures(2, textures);
}

std::unique_ptr<GameResources>
createGameResources(GameContext& context,
                    const std::function<void(const char* group)>& groupLoaded) {
    auto resources = std::make_unique<GameResources>();
    createPrograms(*resources);
    report(groupLoaded, "programs");
    resources->grassMaterial = createGroundMaterial(resources->textureShader, kGrassColor);
    resources->pathMaterial = createGroundMaterial(resources->textureShader, kPathColor);
    resources->grass = createGrassGeometry(resources->grassMaterial);
    resources->path = createPathGeometry(resources->pathMaterial);
    report(groupLoaded, "ground");
    resources->directionalLight = DirectionalLight{};
    resources->pointLight = PointLight{};
    createModels(*resources);
    report(groupLoaded, "models");
    resources->grassTexture = loadTexture("assets\\textures\\grasTexture.jpg");
    resources->pathTexture = loadTexture("assets\\textures\\pathTex.jpg");
    report(groupLoaded, "textures");
    resources->playerParticles = std::make_unique<ParticleSystem>();
    resources->clockParticles = std::make_unique<ParticleSystem>();
    report(groupLoaded, "particles");
    context.player =
        Player(resources->characterModel.get(), &context.camera, -0.0f, 0.0f, 0.0f, 10.0f, 10.0f);
    resources->textRenderer = std::make_unique<TextRenderer>();
    linkWorld(context, *resources);
    report(groupLoaded, "text");
    warmUpTextDrawing(*resources->textRenderer);
    report(groupLoaded, "warm-up");
    return resources;
}
