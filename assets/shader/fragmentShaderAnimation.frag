#version 430 core

// The skinned character, lit by the same scene lighting as every other lit program.
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;

out vec4 fragColor;

struct Material {
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    float shininess;
};

struct DirectionalLight {
    vec3 color;
    vec3 direction;
};

struct PointLight {
    vec3 color;
    vec3 position;
    vec3 attenuation; // constant, linear, quadratic
};

uniform Material mat;
uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform vec3 camera_world;
uniform float brightness;

// ---- Scene lighting (the same block in every lit program) ----------------------------------
// The scene's lights are dim on purpose (a 0.2 grey sun, a small point light at the origin), so
// daylight comes from the gains below: the sun is boosted, a sky/ground hemisphere fill lights
// what the sun misses, and the brightness setting picks an exposure. A filmic curve then keeps
// colours instead of clipping them, so even the brightest setting is not washed out.
const float kSunGain = 5.0;
const float kPointGain = 1.5;
const float kFillGain = 2.2;
const vec3 kSkyFill = vec3(0.62, 0.72, 0.90);
const vec3 kGroundFill = vec3(0.34, 0.30, 0.22);
const vec3 kHazeColor = vec3(0.60, 0.70, 0.85);
const float kHazeStart = 30.0;
const float kHazeEnd = 150.0;
const float kHazeMax = 0.55;
const float kExposureDusk = 0.3;  // brightness 0: dusky but readable
const float kExposureNoon = 1.7;  // brightness 1: bright, the filmic curve keeps the colours
const float kExposureCurve = 0.7; // the low settings change the picture the most
const float kGamma = 2.2;

const float kPointWrap = 1.0; // the lamp stands on the ground, so its light wraps onto it

// Diffuse and Blinn-Phong specular from one light arriving along toLight with the given colour.
// wrap > 0 lets diffuse light reach surfaces it only grazes; a highlight needs a surface that
// really faces the light, or it would shine on faces turned away from it.
vec3 lightTerm(vec3 diffuseColor, vec3 specularColor, float shininess, vec3 normal,
               vec3 toLight, vec3 toEye, vec3 lightColor, float wrap) {
    float cosine = dot(normal, toLight);
    float facing = max((cosine + wrap) / (1.0 + wrap), 0.0);
    vec3 halfway = normalize(toLight + toEye);
    float highlight = cosine > 0.0 ? pow(max(dot(normal, halfway), 0.0), max(shininess, 1.0)) : 0.0;
    return lightColor * (diffuseColor * facing + specularColor * highlight);
}

// Lights a surface point in linear colour; the result still needs toDisplay().
vec3 sceneLight(vec3 ambientColor, vec3 diffuseColor, vec3 specularColor, float shininess,
                vec3 normal, vec3 worldPos) {
    vec3 n = normalize(normal);
    vec3 toEye = normalize(camera_world - worldPos);

    // The fill takes the sun's hue, so a red sun turns the whole scene red.
    float sunPeak = max(max(dirL.color.r, dirL.color.g), max(dirL.color.b, 1e-4));
    vec3 sunHue = dirL.color / sunPeak;
    vec3 fill = mix(kGroundFill, kSkyFill, 0.5 + 0.5 * n.y) * sunHue * kFillGain;
    vec3 color = ambientColor * fill;

    color += lightTerm(diffuseColor, specularColor, shininess, n, normalize(-dirL.direction),
                       toEye, dirL.color * kSunGain, 0.0);

    vec3 toPoint = pointL.position - worldPos;
    float distance = length(toPoint);
    float falloff = pointL.attenuation.x + pointL.attenuation.y * distance +
                    pointL.attenuation.z * distance * distance;
    vec3 pointColor = pointL.color * kPointGain / max(falloff, 1e-4);
    color += lightTerm(diffuseColor, specularColor, shininess, n, toPoint / max(distance, 1e-4),
                       toEye, pointColor, kPointWrap);

    // Distant things fade gently into the haze of the horizon.
    float haze = smoothstep(kHazeStart, kHazeEnd, length(camera_world - worldPos)) * kHazeMax;
    return mix(color, kHazeColor * sunHue, haze);
}

// Exposure from the brightness setting, a filmic curve and display gamma.
vec3 toDisplay(vec3 linearColor) {
    float setting = pow(clamp(brightness, 0.0, 1.0), kExposureCurve);
    float exposure = mix(kExposureDusk, kExposureNoon, setting);
    vec3 x = linearColor * exposure;
    vec3 mapped = clamp((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
    return pow(mapped, vec3(1.0 / kGamma));
}
// ---------------------------------------------------------------------------------------------

// Material colours arrive linear, in every lit program: the mesh draw linearises the display
// colours of model files before it uploads them.
void main() {
    vec3 color = sceneLight(mat.ambient, mat.diffuse, mat.specular, mat.shininess, worldNormal,
                            worldPosition);
    fragColor = vec4(toDisplay(color), 1.0);
}
