#include "render/Shader.h"

#include "render/AssetPath.h"

#include <glad/gl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <glm/gtc/type_ptr.hpp>
#include <iostream>
#include <sstream>

namespace {

constexpr GLsizei kInfoLogSize = 1024;

// Opens a source file through a stream whose failures raise. A folder opens without error on
// this platform and then reads as nothing, so it is refused here like a missing file.
void openSource(std::ifstream& file, const char* path) {
    const std::string fileName = assetPath(path);
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error)) {
        throw std::ios_base::failure("a folder, not a shader file: " + fileName);
    }
    file.open(fileName);
}

// Why a shader file could not be read, in words.
std::string shaderFileProblem(const std::string& fileName, int reason) {
    return missingFileProblem(fileName).value_or(reason != 0 ? std::strerror(reason)
                                                             : "it cannot be read");
}

// Reads a whole file through a stream whose failures raise, so a missing or unreadable file
// surfaces as one std::ios_base::failure.
std::string readWholeFile(std::ifstream& file) {
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

GLuint compileStage(GLenum stage, const std::string& source, const char* failureMessage) {
    const GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint success = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &success);
    if (success == 0) {
        char infoLog[kInfoLogSize] = {};
        glGetShaderInfoLog(shader, kInfoLogSize, nullptr, infoLog);
        std::cout << failureMessage << infoLog << std::endl;
    }
    return shader;
}

} // namespace

Shader::Shader(const char* vertexPath, const char* fragmentPath) {
    std::string vertexSource;
    std::string fragmentSource;
    std::ifstream vertexFile;
    std::ifstream fragmentFile;
    vertexFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    fragmentFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    // Which file a failure belongs to, for the line that names it.
    const char* reading = vertexPath;
    try {
        openSource(vertexFile, vertexPath);
        reading = fragmentPath;
        openSource(fragmentFile, fragmentPath);
        reading = vertexPath;
        std::string vertexText = readWholeFile(vertexFile);
        reading = fragmentPath;
        std::string fragmentText = readWholeFile(fragmentFile);
        vertexFile.close();
        fragmentFile.close();
        vertexSource = std::move(vertexText);
        fragmentSource = std::move(fragmentText);
    } catch (const std::ios_base::failure&) {
        const int reason = errno;
        std::cout << "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ" << std::endl;
        std::cerr << "chronocell: cannot read the shader " << assetPath(reading) << ": "
                  << shaderFileProblem(assetPath(reading), reason) << std::endl;
    }

    const GLuint vertex =
        compileStage(GL_VERTEX_SHADER, vertexSource, "ERROR_VERTEX_SHADER_COMPLINATION_ERROR:");
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentSource,
                                         "ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR:");

    id = glCreateProgram();
    glAttachShader(id, vertex);
    glAttachShader(id, fragment);
    glLinkProgram(id);
    GLint success = 0;
    glGetProgramiv(id, GL_LINK_STATUS, &success);
    if (success == 0) {
        char infoLog[kInfoLogSize] = {};
        glGetProgramInfoLog(id, kInfoLogSize, nullptr, infoLog);
        std::cout << "ERROR_PROGRAM_LINKING_ERROR:" << infoLog << std::endl;
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
}

void Shader::setFloat(const std::string& name, float value) const {
    glUniform1f(glGetUniformLocation(id, name.c_str()), value);
}

void Shader::setVec3(const std::string& name, const glm::vec3& value) const {
    glUniform3fv(glGetUniformLocation(id, name.c_str()), 1, glm::value_ptr(value));
}

void Shader::setMat3(const std::string& name, const glm::mat3& value) const {
    glUniformMatrix3fv(glGetUniformLocation(id, name.c_str()), 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setMat4(const std::string& name, const glm::mat4& value) const {
    glUniformMatrix4fv(glGetUniformLocation(id, name.c_str()), 1, GL_FALSE, glm::value_ptr(value));
}

Shader::~Shader() {
    glDeleteProgram(id);
}
