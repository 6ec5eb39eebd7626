#include "render/Material.h"

#include "render/Shader.h"

void Material::setUniforms() const {
    if (!shader) {
        return;
    }
    shader->setVec3("mat.ambient", color * ambientFactor);
    shader->setVec3("mat.diffuse", color * diffuseFactor);
    shader->setVec3("mat.specular", color * specularFactor);
    shader->setFloat("mat.shininess", shininess);
}
