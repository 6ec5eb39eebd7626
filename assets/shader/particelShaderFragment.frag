#version 430 core

// A soft glowing dot: opaque core, round fading rim, tinted by the system's colour.
in vec2 squarePosition;

uniform vec3 color;
uniform float brightness;

out vec4 fragColor;

const float kCoreRadius = 0.25;
const float kDimLevel = 0.55;   // light level at brightness 0
const float kCoreWhiten = 0.35; // the core glows towards white
// The outermost rim would change a pixel by less than three of 255 levels, yet its depth write
// would cut whatever is drawn behind it later; it is left out, and so is the square outside it.
const float kMinAlpha = 0.01;

void main() {
    float radius = length(squarePosition);
    float alpha = 1.0 - smoothstep(kCoreRadius, 1.0, radius);
    if (alpha < kMinAlpha) {
        discard;
    }
    float core = 1.0 - smoothstep(0.0, kCoreRadius * 2.0, radius);
    vec3 tint = mix(color, vec3(1.0), core * kCoreWhiten);
    float level = mix(kDimLevel, 1.0, clamp(brightness, 0.0, 1.0));
    fragColor = vec4(tint * level, alpha);
}
