// Imports arbitrary bytes as a model file through the game's own Model code, with a real (hidden)
// GL context for the uploads, and checks the result can be drawn safely: no index past its
// mesh's vertices, one bone record per vertex, no bone index past the bone table. The imported
// model is also posed, which walks its node tree and samples its clips.
#include "model/Model.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef CHRONOCELL_FUZZ_EXTENSION
#define CHRONOCELL_FUZZ_EXTENSION ".obj"
#endif

namespace {

namespace fs = std::filesystem;

// Poses at a few clock times, including one past any clip's end.
constexpr float kPoseSeconds[] = {0.0f, 0.37f, 1000.0f};

fs::path& folder() {
    static fs::path path =
        fs::temp_directory_path() / ("chronocell-model-fuzz-" + std::to_string(getpid()));
    return path;
}

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "unsafe model: %s\n", what);
        std::abort();
    }
}

void checkModel(const Model& model) {
    require(model.boneInfos.size() == model.boneCount, "bone table and bone count disagree");
    for (const Mesh& mesh : model.meshes) {
        for (unsigned int index : mesh.indices) {
            require(index < mesh.vertices.size(), "an index past the mesh's vertices");
        }
        require(mesh.boneData.size() == mesh.vertices.size(), "bone records per vertex");
        for (const VertexBoneData& bones : mesh.boneData) {
            for (int slot = 0; slot < VertexBoneData::kMaxInfluences; ++slot) {
                require(bones.weights[slot] == 0.0f ||
                            static_cast<unsigned int>(bones.ids[slot]) < model.boneCount,
                        "a bone index past the bone table");
            }
        }
    }
}

// Models keep their GL objects for the whole run of the game; here they would pile up over
// millions of inputs, so the harness frees them itself.
void releaseGlObjects(const Model& model) {
    for (const Mesh& mesh : model.meshes) {
        glDeleteVertexArrays(1, &mesh.vao);
        const GLuint buffers[] = {mesh.vbo, mesh.ebo, mesh.boneVbo};
        glDeleteBuffers(3, buffers);
    }
    for (const ModelTexture& texture : model.texturesLoaded) {
        glDeleteTextures(1, &texture.id);
    }
}

void copySeedMaterials() {
    // The shipped OBJ files name their material files; having them beside the input lets the
    // fuzzer reach the material and texture code from the seeds.
    const fs::path objects = fs::path(CHRONOCELL_SOURCE_DIR) / "assets" / "objects";
    std::error_code error;
    for (const char* name : {"clock.mtl", "stone.mtl", "tree.mtl"}) {
        fs::copy_file(objects / name, folder() / name, fs::copy_options::overwrite_existing, error);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr || glfwInit() == GLFW_FALSE) {
        std::fprintf(stderr, "the model fuzzer needs a display (run it under Xvfb)\n");
        std::exit(1);
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "model fuzzer", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no GL 4.3 context for the model fuzzer\n");
        std::exit(1);
    }
    glfwMakeContextCurrent(window);
    if (gladLoadGL(glfwGetProcAddress) == 0) {
        std::exit(1);
    }
    fs::create_directories(folder());
    copySeedMaterials();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path input = folder() / ("input" CHRONOCELL_FUZZ_EXTENSION);
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Model model(input.string());
    checkModel(model);
    std::vector<glm::mat4> pose;
    for (float seconds : kPoseSeconds) {
        model.boneTransform(seconds, pose);
        require(pose.size() == model.boneCount, "one pose matrix per bone");
    }
    releaseGlObjects(model);
    return 0;
}
