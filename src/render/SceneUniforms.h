#pragma once

#include "render/Camera.h"
#include "render/DirectionalLight.h"
#include "render/PointLight.h"
#include "render/Shader.h"

// Makes the program current and uploads what every lit object of a frame shares: the lights,
// the brightness setting, the view-projection matrix and the eye position.
void uploadSceneUniforms(const Shader& shader, const DirectionalLight& directionalLight,
                         const PointLight& pointLight, Camera camera, float brightness);
