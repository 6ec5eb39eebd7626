#include "render/Geometry.h"

#include "render/Material.h"
#include "render/Shader.h"
#include "render/TriangleDraw.h"

#include <glad/gl.h>

#include <array>
#include <utility>

namespace {

constexpr unsigned kGridRows = 2000;
constexpr unsigned kBoxFaces = 6;
constexpr unsigned kVerticesPerFace = 4;

struct BoxFace {
    std::array<glm::vec3, kVerticesPerFace> corners;
    std::array<glm::vec2, kVerticesPerFace> uvs;
    glm::vec3 normal;
};

template <typename T> GLsizeiptr byteSize(const std::vector<T>& values) {
    return static_cast<GLsizeiptr>(values.size() * sizeof(T));
}

GLuint uploadAttribute(GLuint location, GLint components, GLsizeiptr bytes, const void* data) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_STATIC_DRAW);
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    return buffer;
}

} // namespace

GeometryData createBoxGeometry(float width, float height, float depth) {
    const float hx = width * 0.5f;
    const float hy = height * 0.5f;
    const float hz = depth * 0.5f;
    const float nx = -width * 0.5f;
    const float ny = -height * 0.5f;
    const float nz = -depth * 0.5f;
    // Back and top faces carry turned texture coordinates; shapes built from these keep them.
    const std::array<BoxFace, kBoxFaces> faces{{
        {{{{nx, ny, hz}, {hx, ny, hz}, {hx, hy, hz}, {nx, hy, hz}}},
         {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
         {0, 0, 1}},
        {{{{hx, ny, nz}, {nx, ny, nz}, {nx, hy, nz}, {hx, hy, nz}}},
         {{{1, 1}, {0, 1}, {0, 0}, {1, 0}}},
         {0, 0, -1}},
        {{{{hx, ny, hz}, {hx, ny, nz}, {hx, hy, nz}, {hx, hy, hz}}},
         {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
         {1, 0, 0}},
        {{{{nx, ny, nz}, {nx, ny, hz}, {nx, hy, hz}, {nx, hy, nz}}},
         {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
         {-1, 0, 0}},
        {{{{nx, hy, hz}, {hx, hy, hz}, {hx, hy, nz}, {nx, hy, nz}}},
         {{{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
         {0, 1, 0}},
        {{{{nx, ny, nz}, {hx, ny, nz}, {hx, ny, hz}, {nx, ny, hz}}},
         {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
         {0, -1, 0}},
    }};

    GeometryData data;
    for (unsigned f = 0; f < kBoxFaces; ++f) {
        for (unsigned v = 0; v < kVerticesPerFace; ++v) {
            data.positions.push_back(faces[f].corners[v]);
            data.normals.push_back(faces[f].normal);
            data.uvs.push_back(faces[f].uvs[v]);
        }
        const unsigned first = kVerticesPerFace * f;
        data.indices.insert(data.indices.end(),
                            {first, first + 1, first + 2, first + 2, first + 3, first});
    }
    return data;
}

GeometryData createGridGeometry(unsigned columns, float spacing, float height, bool normalizedU) {
    GeometryData data;
    if (columns < 2) {
        return data;
    }
    const std::size_t vertexCount = static_cast<std::size_t>(kGridRows) * columns;
    data.positions.reserve(vertexCount);
    data.normals.reserve(vertexCount);
    data.uvs.reserve(vertexCount);
    const float uStep = normalizedU ? spacing / static_cast<float>(columns - 1) : spacing;
    for (unsigned i = 0; i < kGridRows; ++i) {
        const float z = static_cast<float>(i) * spacing;
        for (unsigned j = 0; j < columns; ++j) {
            data.positions.emplace_back(static_cast<float>(j) * spacing, height, z);
            data.normals.emplace_back(0.0f, 1.0f, 0.0f);
            data.uvs.emplace_back(uStep * static_cast<float>(j), z);
        }
    }
    data.indices.reserve(static_cast<std::size_t>(kGridRows - 1) * (columns - 1) * 6);
    for (unsigned i = 0; i + 1 < kGridRows; ++i) {
        for (unsigned j = 0; j + 1 < columns; ++j) {
            const unsigned k = i * columns + j;
            data.indices.insert(data.indices.end(),
                                {k, k + columns, k + 1, k + 1, k + columns, k + columns + 1});
        }
    }
    return data;
}

Geometry::Geometry(const glm::mat4& modelMatrix, GeometryData data,
                   std::shared_ptr<Material> material)
    : indexCount(static_cast<unsigned int>(data.indices.size())), material(std::move(material)),
      modelMatrix(modelMatrix) {
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    positionBuffer = uploadAttribute(0, 3, byteSize(data.positions), data.positions.data());
    normalBuffer = uploadAttribute(1, 3, byteSize(data.normals), data.normals.data());
    uvBuffer = uploadAttribute(2, 2, byteSize(data.uvs), data.uvs.data());
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, byteSize(data.indices), data.indices.data(),
                 GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

Geometry::~Geometry() {
    release();
}

Geometry::Geometry(Geometry&& other) noexcept
    : vao(std::exchange(other.vao, 0)), positionBuffer(std::exchange(other.positionBuffer, 0)),
      normalBuffer(std::exchange(other.normalBuffer, 0)),
      uvBuffer(std::exchange(other.uvBuffer, 0)), indexBuffer(std::exchange(other.indexBuffer, 0)),
      indexCount(std::exchange(other.indexCount, 0)), material(std::move(other.material)),
      modelMatrix(std::exchange(other.modelMatrix, glm::mat4(1.0f))) {}

Geometry& Geometry::operator=(Geometry&& other) noexcept {
    if (this != &other) {
        release();
        vao = std::exchange(other.vao, 0);
        positionBuffer = std::exchange(other.positionBuffer, 0);
        normalBuffer = std::exchange(other.normalBuffer, 0);
        uvBuffer = std::exchange(other.uvBuffer, 0);
        indexBuffer = std::exchange(other.indexBuffer, 0);
        indexCount = std::exchange(other.indexCount, 0);
        material = std::move(other.material);
        modelMatrix = std::exchange(other.modelMatrix, glm::mat4(1.0f));
    }
    return *this;
}

void Geometry::release() {
    // A default or moved-from geometry names nothing: skip the calls so it is safe to destroy
    // even when no context was ever current.
    if (vao == 0 && positionBuffer == 0 && normalBuffer == 0 && uvBuffer == 0 && indexBuffer == 0) {
        material.reset();
        return;
    }
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vao);
    vao = positionBuffer = normalBuffer = uvBuffer = indexBuffer = 0;
    indexCount = 0;
    material.reset();
}

void Geometry::draw() const {
    // Without a material there is no program to draw with; a default geometry draws nothing.
    if (!material || !material->shader) {
        return;
    }
    const Shader& shader = *material->shader;
    glUseProgram(shader.id);
    shader.setMat4("modelMatrix", modelMatrix);
    shader.setMat3("normalMatrix", glm::mat3(glm::transpose(glm::inverse(modelMatrix))));
    material->setUniforms();
    glBindVertexArray(vao);
    drawIndexedTriangles(static_cast<int>(indexCount));
    glBindVertexArray(0);
}
