#version 430 core

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
    vec3 attenuation;
};

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;

uniform Material mat;
uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform vec3 camera_world;
uniform float brightness;

out vec4 fragColor;

// Diffuse and Blinn-Phong specular of one light arriving from `toLight`.
vec3 shade(vec3 lightColor, vec3 toLight, vec3 n, vec3 toEye) {
    float diffuse = max(dot(n, toLight), 0.0);
    vec3 halfway = normalize(toLight + toEye);
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), max(mat.shininess, 1.0)) : 0.0;
    return lightColor * (mat.diffuse * diffuse + mat.specular * specular);
}

void main() {
    vec3 n = normalize(worldNormal);
    vec3 toEye = normalize(camera_world - worldPosition);
    vec3 color = mat.ambient * 0.5;
    color += shade(dirL.color, normalize(-dirL.direction), n, toEye);

    vec3 toPoint = pointL.position - worldPosition;
    float distance = length(toPoint);
    float falloff = 1.0 / max(pointL.attenuation.x + pointL.attenuation.y * distance +
                              pointL.attenuation.z * distance * distance, 1e-4);
    color += falloff * shade(pointL.color, toPoint / max(distance, 1e-4), n, toEye);

    fragColor = vec4(color * brightness, 1.0);
}
