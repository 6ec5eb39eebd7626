#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <vector>

class Shader;
struct aiMaterial;
struct aiMesh;

// One vertex as the model shaders read it: locations 0, 1 and 2, 32 bytes, no gaps.
struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 texCoords{0.0f};
};
static_assert(sizeof(Vertex) == 32, "Vertex must stay 32 bytes");

// Up to four bone influences of one vertex (locations 3 and 4). A slot is free while its
// weight is 0.0.
struct VertexBoneData {
    static constexpr int kMaxInfluences = 4;
    int ids[kMaxInfluences] = {0, 0, 0, 0};
    float weights[kMaxInfluences] = {0.0f, 0.0f, 0.0f, 0.0f};

    void addBoneInfluence(unsigned int boneIndex, float weight);
};
static_assert(sizeof(VertexBoneData) == 32, "VertexBoneData must stay 32 bytes");

// A texture a model's material names, with the role it was first loaded under.
struct ModelTexture {
    unsigned int id = 0;
    std::string type;
    std::string path;
};

struct MeshMaterial {
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    glm::vec3 ambient{0.0f};
    float shininess = 0.0f;
};

// One drawable piece of a model, uploaded once into a vertex array with three buffers.
class Mesh {
  public:
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<ModelTexture> textures;
    MeshMaterial material;
    // The same material with linear colours, made once here rather than on every draw.
    MeshMaterial linearMaterial;
    unsigned int vao = 0;
    std::vector<VertexBoneData> boneData;
    unsigned int vbo = 0;
    unsigned int ebo = 0;
    unsigned int boneVbo = 0;

    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
         std::vector<ModelTexture> textures, MeshMaterial material,
         std::vector<VertexBoneData> boneData);

    void setupMesh();
};

// The vertices of a scene mesh in its own space; missing normals or texture coordinates are 0.
std::vector<Vertex> extractVertices(const aiMesh* mesh);

// The triangle list of a scene mesh. Faces that are not triangles (points and lines survive
// triangulation) or that name a vertex the mesh lacks are left out, so they cannot garble the
// triangle list or make the GPU read past the vertex buffer.
std::vector<unsigned int> extractIndices(const aiMesh* mesh);

// A material without a shininess entry gets this exponent: a moderate highlight rather than
// the flat full-strength specular an exponent of 0 would give.
inline constexpr float kDefaultShininess = 32.0f;

// Diffuse, ambient and specular colours (black where the material lacks one) and shininess.
MeshMaterial readMeshMaterial(const aiMaterial* material);

// Model files give display colours, as their authors saw them on screen; every lit program
// takes linear ones. Negative components count as 0.
glm::vec3 linearFromDisplay(const glm::vec3& displayColour);

// The material with its three colours made linear; shininess is kept.
MeshMaterial linearMaterialOf(const MeshMaterial& displayMaterial);

// Draws one mesh with its linear material colours; the program is made current here.
void drawMesh(const Mesh& mesh, const std::shared_ptr<Shader>& shader);
