#version 430 core

// Static, untextured surfaces: models such as trees, stones and the clock.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * normal;
    gl_Position = viewProjMatrix * world;
}
