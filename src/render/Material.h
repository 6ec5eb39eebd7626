#pragma once

#include <glm/glm.hpp>
#include <memory>

class Shader;

// A lit surface: one base colour scaled separately for the ambient, diffuse and specular
// terms, plus the program that draws it.
class Material {
  public:
    std::shared_ptr<Shader> shader;
    glm::vec3 color{1.0f, 1.0f, 1.0f};
    float ambientFactor = 0.0f;
    float diffuseFactor = 0.0f;
    float specularFactor = 0.0f;
    float shininess = 1.0f;

    // Writes mat.* into whichever program is current; the caller has made `shader` current.
    void setUniforms() const;
};
