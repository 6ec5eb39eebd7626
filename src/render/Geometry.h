#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <vector>

class Material;

// CPU-side vertex data of a procedural shape; positions, normals and uvs run in parallel.
struct GeometryData {
    std::vector<glm::vec3> positions;
    std::vector<unsigned> indices;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
};

// An axis-aligned box centred on the origin: 24 vertices (four per face) and 36 indices,
// every triangle counter-clockwise seen from outside.
GeometryData createBoxGeometry(float width, float height, float depth);

// The ground grid every row of which has `columns` vertices: 2000 rows along z, spaced
// `spacing` apart, in the plane y = height, facing up. With normalizedU the texture spans the
// whole width once; otherwise it repeats once per cell. Fewer than two columns make no cell,
// so such a request gives an empty GeometryData.
GeometryData createGridGeometry(unsigned columns, float spacing, float height, bool normalizedU);

// A shape uploaded to the GPU with its material and fixed model matrix. It owns its vertex
// array and buffers, so it can be moved but never copied: two owners would delete the same
// names twice.
class Geometry {
  public:
    unsigned int vao = 0;
    unsigned int positionBuffer = 0;
    unsigned int normalBuffer = 0;
    unsigned int uvBuffer = 0;
    unsigned int indexBuffer = 0;
    unsigned int indexCount = 0;
    std::shared_ptr<Material> material;
    glm::mat4 modelMatrix{1.0f};

    Geometry() = default;
    Geometry(const glm::mat4& modelMatrix, GeometryData data, std::shared_ptr<Material> material);
    ~Geometry();

    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;
    Geometry(Geometry&& other) noexcept;
    Geometry& operator=(Geometry&& other) noexcept;

    // Sets the per-object uniforms and draws; the scene uniforms and any texture on unit 0
    // must already be in place.
    void draw() const;

  private:
    void release();
};
