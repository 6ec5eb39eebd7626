#pragma once

#include "model/Model.h"
#include "render/DirectionalLight.h"
#include "render/Geometry.h"
#include "render/Material.h"
#include "render/PointLight.h"
#include "render/Shader.h"
#include "text/TextRenderer.h"
#include "world/ParticleSystem.h"

#include <functional>
#include <memory>

struct GameContext;

// Everything the game loads at start-up, created once in this order and kept for the whole run.
// Members are destroyed in reverse order, so the objects owning OpenGL names (text renderer,
// particle systems, models, ground meshes) go before the materials and programs, and all of them
// before the window system is shut down.
struct GameResources {
    std::shared_ptr<Shader> materialShader;
    std::shared_ptr<Shader> animationShader;
    std::shared_ptr<Shader> textureShader;
    std::shared_ptr<Shader> particleShader;
    std::shared_ptr<Material> grassMaterial;
    std::shared_ptr<Material> pathMaterial;
    Geometry grass;
    Geometry path;
    DirectionalLight directionalLight;
    PointLight pointLight;
    std::unique_ptr<Model> clockModel;
    std::unique_ptr<Model> characterModel;
    std::unique_ptr<Model> stoneModel;
    std::unique_ptr<Model> treeModel;
    unsigned int grassTexture = 0;
    unsigned int pathTexture = 0;
    std::unique_ptr<ParticleSystem> playerParticles;
    std::unique_ptr<ParticleSystem> clockParticles;
    std::unique_ptr<TextRenderer> textRenderer;

    GameResources() = default;
    // Releases the ground's two textures, and the program in use for its deletion to take; the
    // members release the rest.
    ~GameResources();
    GameResources(const GameResources&) = delete;
    GameResources& operator=(const GameResources&) = delete;
};

// Loads every shader, mesh, model, texture, particle system and the font in the game's fixed
// order, sets up the player record and points the context's world links at what was made.
// A file that fails reports itself and creation goes on with what could be made.
// `groupLoaded`, when given, is told the name of each group as soon as it is ready ("programs",
// "ground", "models", "textures", "particles", "text", "warm-up"), so start-up can be timed
// group by group.
std::unique_ptr<GameResources>
createGameResources(GameContext& context,
                    const std::function<void(const char* group)>& groupLoaded = {});
