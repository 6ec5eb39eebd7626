#version 430 core
// One corner of a glyph quad: (x, y) in the 800 x 600 text space, (u, v) in the glyph bitmap.
layout(location = 0) in vec4 vertex;

uniform mat4 projection;

out vec2 glyphCoords;

void main() {
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
    glyphCoords = vertex.zw;
}
