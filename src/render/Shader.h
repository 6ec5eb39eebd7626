#pragma once

#include <glm/glm.hpp>
#include <string>

// One linked GLSL program built from a vertex and a fragment shader file. The setters look
// the uniform up by name on every call and never make the program current: callers call
// glUseProgram(id) first.
class Shader {
  public:
    unsigned int id = 0;

    Shader(const char* vertexPath, const char* fragmentPath);
    // Deletes the program: every OpenGL name the game makes is released before its context
    // ends, which some drivers (Wine's debug context) hold a program to.
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    void setFloat(const std::string& name, float value) const;
    void setVec3(const std::string& name, const glm::vec3& value) const;
    void setMat3(const std::string& name, const glm::mat3& value) const;
    void setMat4(const std::string& name, const glm::mat4& value) const;
};
