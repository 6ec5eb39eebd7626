#include "model/Model.h"

#include "model/Animation.h"
#include "model/FileOnlyIOSystem.h"
#include "render/AssetPath.h"
#include "render/Shader.h"

#include <glad/gl.h>

#include <SDL_timer.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cstdio>
#include <exception>
#include <iostream>
#include <stb/stb_image.h>
#include <string_view>

namespace {

constexpr unsigned int kImportFlags = aiProcess_CalcTangentSpace | aiProcess_Triangulate |
                                      aiProcess_GenSmoothNormals | aiProcess_FlipUVs;
static_assert(kImportFlags == 0x800049);

// The fixed line on standard output, and one naming the file on standard error.
void reportImportError(std::string_view text, const std::string& fileName) {
    std::cout << "ERROR::ASSIMP:: " << text << std::endl;
    std::cerr << "chronocell: cannot load the model " << fileName << ": " << text << std::endl;
}

// Everything before the last '/' or '\'; a bare file name lives in the working directory.
std::string directoryOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

GLenum formatForChannels(int channels) {
    switch (channels) {
    case 1:
        return GL_RED;
    case 2:
        return GL_RG;
    case 3:
        return GL_RGB;
    default:
        return GL_RGBA;
    }
}

// The largest unpack alignment that divides a row, so rows of odd byte lengths (a 3-channel
// image 5 pixels wide) are read without skew.
GLint alignmentForRow(int rowBytes) {
    for (GLint alignment : {8, 4, 2}) {
        if (rowBytes % alignment == 0) {
            return alignment;
        }
    }
    return 1;
}

// One and two channels are stored in sized formats, the only ones OpenGL ES (a browser's WebGL)
// takes for them; desktop OpenGL stores the unsized ones the same way.
GLint internalFormatFor(GLenum format) {
    switch (format) {
    case GL_RED:
        return GL_R8;
    case GL_RG:
        return GL_RG8;
    default:
        return static_cast<GLint>(format);
    }
}

void uploadImage(GLuint texture, const unsigned char* pixels, int width, int height, int channels) {
    const GLenum format = formatForChannels(channels);
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignmentForRow(width * channels));
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormatFor(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

} // namespace

Model::Model(const std::string& path) {
    // Assimp reports bad files through a null scene, but a corrupt file can still make it (or
    // our own processing) throw; the game goes on with an empty model either way.
    try {
        loadModel(path);
    } catch (const std::exception& error) {
        meshes.clear();
        reportImportError(error.what(), assetPath(path));
    }
}

void Model::loadModel(const std::string& path) {
    const std::string fileName = assetPath(path);
    importer.SetIOHandler(new FileOnlyIOSystem);
    scene = importer.ReadFile(fileName, kImportFlags);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 ||
        scene->mRootNode == nullptr) {
        reportImportError(importer.GetErrorString(), fileName);
        return;
    }
    // Junk in an OBJ file parses as a scene without error but with nothing in it; every model
    // of the game has meshes, so such a file is a failed load, not a silent empty model.
    if (scene->mNumMeshes == 0) {
        reportImportError("No meshes in file \"" + fileName + "\".", fileName);
        return;
    }
    rootTransform = toGlm(scene->mRootNode->mTransformation);
    directory = directoryOf(path);
    processNode(scene->mRootNode, scene);
    boneUniformNames.reserve(boneCount);
    for (unsigned int i = 0; i < boneCount; ++i) {
        boneUniformNames.push_back("finalBoneMatrices[" + std::to_string(i) + "]");
    }
    boneMatrices.reserve(boneCount);
}

void Model::processNode(const aiNode* node, const aiScene* scene) {
    for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
        const unsigned int meshIndex = node->mMeshes[i];
        if (meshIndex < scene->mNumMeshes) {
            meshes.push_back(processMesh(scene->mMeshes[meshIndex], scene));
        }
    }
    for (unsigned int i = 0; i < node->mNumChildren; ++i) {
        processNode(node->mChildren[i], scene);
    }
}

Mesh Model::processMesh(const aiMesh* mesh, const aiScene* scene) {
    std::vector<Vertex> vertices = extractVertices(mesh);
    std::vector<unsigned int> indices = extractIndices(mesh);
    const aiMaterial* material = mesh->mMaterialIndex < scene->mNumMaterials
                                     ? scene->mMaterials[mesh->mMaterialIndex]
                                     : nullptr;
    const MeshMaterial colours = readMeshMaterial(material);
    std::vector<ModelTexture> textures;
    if (material != nullptr) {
        textures = loadMaterialTextures(material, aiTextureType_DIFFUSE, "texture_diffuse");
        std::vector<ModelTexture> specular =
            loadMaterialTextures(material, aiTextureType_SPECULAR, "texture_specular");
        textures.insert(textures.end(), specular.begin(), specular.end());
    }
    std::vector<VertexBoneData> boneData;
    addMeshBones(*this, mesh, boneData);
    return Mesh(std::move(vertices), std::move(indices), std::move(textures), colours,
                std::move(boneData));
}

std::vector<ModelTexture> Model::loadMaterialTextures(const aiMaterial* material, int textureType,
                                                      const std::string& typeName) {
    const auto type = static_cast<aiTextureType>(textureType);
    std::vector<ModelTexture> result;
    for (unsigned int i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name);
        const std::string texturePath(name.C_Str());
        bool cached = false;
        for (const ModelTexture& loaded : texturesLoaded) {
            if (loaded.path == texturePath) {
                result.push_back(loaded);
                cached = true;
                break;
            }
        }
        if (!cached) {
            const ModelTexture texture{textureFromFile(texturePath, directory), typeName,
                                       texturePath};
            result.push_back(texture);
            texturesLoaded.push_back(texture);
        }
    }
    return result;
}

unsigned int textureFromFile(const std::string& name, const std::string& directory) {
    const std::string fileName = assetPath(directory + "/" + name);
    GLuint texture = 0;
    glGenTextures(1, &texture);

    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = nullptr;
    if (std::FILE* file = std::fopen(fileName.c_str(), "rb")) {
        pixels = stbi_load_from_file(file, &width, &height, &channels, 0);
        std::fclose(file);
    }
    if (pixels == nullptr) {
        std::cout << "Texture failed to load at path: " << name << std::endl;
        return texture;
    }
    uploadImage(texture, pixels, width, height, channels);
    stbi_image_free(pixels);
    return texture;
}

const aiAnimation* Model::currentClip() const {
    if (scene == nullptr || animationIndex < 0 ||
        static_cast<unsigned int>(animationIndex) >= scene->mNumAnimations) {
        return nullptr;
    }
    return scene->mAnimations[animationIndex];
}

void Model::draw(std::shared_ptr<Shader> shader, bool animated) {
    if (shader == nullptr) {
        return;
    }
    if (animated) {
        boneTransform(animationClock != nullptr ? animationClock->seconds()
                                                : ticksToSeconds(SDL_GetTicks()),
                      boneMatrices);
        for (std::size_t i = 0; i < boneMatrices.size() && i < boneUniformNames.size(); ++i) {
            shader->setMat4(boneUniformNames[i], boneMatrices[i]);
        }
    }
    for (const Mesh& mesh : meshes) {
        drawMesh(mesh, shader);
    }
}

void Model::boneTransform(float seconds, std::vector<glm::mat4>& transforms) {
    // Without a clip to play (a failed import, or an index past the clips) the node tree's own
    // transformations still pose the skeleton, so the model is drawn in its rest pose.
    const aiAnimation* clip = currentClip();
    const float time =
        clip != nullptr ? clipTime(clip->mTicksPerSecond, clip->mDuration, seconds) : 0.0f;
    if (scene != nullptr && scene->mRootNode != nullptr) {
        readNodeHierarchy(time, scene->mRootNode, glm::mat4(1.0f));
    }
    transforms.resize(boneCount);
    for (unsigned int i = 0; i < boneCount; ++i) {
        transforms[i] = boneInfos[i].finalTransform;
    }
}

void Model::readNodeHierarchy(float clipTime, const aiNode* node,
                              const glm::mat4& parentTransform) {
    const std::string name(node->mName.C_Str(), node->mName.length);
    const aiAnimation* clip = currentClip();
    const aiNodeAnim* channel = clip != nullptr ? findNodeAnim(clip, name) : nullptr;
    const glm::mat4 global = parentTransform * nodeLocalTransform(clipTime, node, channel);
    const auto bone = boneMapping.find(name);
    if (bone != boneMapping.end()) {
        BoneInfo& info = boneInfos[bone->second];
        info.finalTransform = rootTransform * global * info.offset;
    }
    for (unsigned int i = 0; i < node->mNumChildren; ++i) {
        readNodeHierarchy(clipTime, node->mChildren[i], global);
    }
}

Model::~Model() {
    for (Mesh& mesh : meshes) {
        const unsigned int buffers[] = {mesh.vbo, mesh.ebo, mesh.boneVbo};
        glDeleteBuffers(3, buffers);
        glDeleteVertexArrays(1, &mesh.vao);
    }
    for (const ModelTexture& texture : texturesLoaded) {
        glDeleteTextures(1, &texture.id);
    }
}
