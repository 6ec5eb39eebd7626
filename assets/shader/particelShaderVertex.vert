#version 430 core

// Instanced particle squares that always face the camera.
layout(location = 0) in vec3 corner;   // unit square corner, -0.5 .. 0.5
layout(location = 1) in vec4 instance; // centre x, y, z and size

uniform mat4 M_v;
uniform mat4 M_p;

out vec2 squarePosition; // -1 .. 1 across the square

void main() {
    // The view matrix's first two rows are the camera's right and up axes in world space.
    vec3 right = vec3(M_v[0][0], M_v[1][0], M_v[2][0]);
    vec3 up = vec3(M_v[0][1], M_v[1][1], M_v[2][1]);
    vec3 world = instance.xyz + (right * corner.x + up * corner.y) * instance.w;
    squarePosition = corner.xy * 2.0;
    gl_Position = M_p * M_v * vec4(world, 1.0);
}
