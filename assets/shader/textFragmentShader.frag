#version 430 core
in vec2 glyphCoords;

// The glyph's coverage lives in the red channel of the texture on unit 0.
layout(binding = 0) uniform sampler2D glyph;
uniform vec3 textColor;

out vec4 fragColor;

// Below this coverage a fragment changes the pixel by less than three of 255 levels.
const float kMinCoverage = 0.01;

void main() {
    float coverage = texture(glyph, glyphCoords).r;
    // Empty and faint parts of a glyph's box must not write depth: with depth testing on, they
    // would otherwise hide the overlapping edge of the next letter, which lies at the same depth.
    if (coverage < kMinCoverage) {
        discard;
    }
    fragColor = vec4(textColor, coverage);
}
