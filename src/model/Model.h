#pragma once

#include "model/AnimationClock.h"
#include "model/BoneInfo.h"
#include "model/Mesh.h"

#include <assimp/Importer.hpp>
#include <glm/glm.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct aiAnimation;
struct aiScene;
struct aiNode;
struct aiMesh;
struct aiMaterial;
class Shader;

// One imported model file: its meshes on the GPU, its textures, its bone table and the
// imported scene, which stays alive because every animated draw samples its clips in place.
class Model {
  public:
    std::vector<ModelTexture> texturesLoaded;
    std::vector<Mesh> meshes;
    std::string directory;
    const aiScene* scene = nullptr;
    int animationIndex = 0;
    std::vector<BoneInfo> boneInfos;
    std::map<std::string, unsigned int> boneMapping;
    unsigned int boneCount = 0;
    glm::mat4 rootTransform{1.0f};
    Assimp::Importer importer;
    // "finalBoneMatrices[i]" for every bone, spelled out once at load so an animated draw does
    // not build 17 strings a frame; the locations are still looked up by name at every draw.
    std::vector<std::string> boneUniformNames;
    // The pose of the last animated draw, kept so posing reuses the same storage every frame.
    std::vector<glm::mat4> boneMatrices;
    // The animation's time, when not SDL's ticks.
    AnimationClock* animationClock = nullptr;

    explicit Model(const std::string& path);
    // Releases the meshes' vertex arrays and buffers and the loaded textures.
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Draws every mesh; with `animated` the skeleton is first posed for the animation clock and
    // its matrices uploaded as finalBoneMatrices[i] to the program the caller made current.
    void draw(std::shared_ptr<Shader> shader, bool animated);

    // Poses the skeleton at `seconds` of the running clock and fills one matrix per bone.
    void boneTransform(float seconds, std::vector<glm::mat4>& transforms);
    void readNodeHierarchy(float clipTime, const aiNode* node, const glm::mat4& parentTransform);

    // The clip at animationIndex, or nullptr when the scene has none there.
    const aiAnimation* currentClip() const;

    void loadModel(const std::string& path);
    void processNode(const aiNode* node, const aiScene* scene);
    Mesh processMesh(const aiMesh* mesh, const aiScene* scene);
    std::vector<ModelTexture> loadMaterialTextures(const aiMaterial* material, int textureType,
                                                   const std::string& typeName);
};

// Loads an image next to a model; returns the generated texture name even when loading fails.
unsigned int textureFromFile(const std::string& name, const std::string& directory);
