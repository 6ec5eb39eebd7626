// The optional gamepad mappings file, given to the GLFW the GL tests have started.
#include "input/GamepadMappings.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A layout in the database's format, as a player's file would hold it, and one for another
// system, which GLFW passes over without complaint.
constexpr const char* kGoodMappings =
    "# pads of this household\n"
    "03000000de280000ff11000001000000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
    "leftshoulder:b4,rightshoulder:b5,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,"
    "leftx:a0,lefty:a1,platform:Linux,\r\n"
    "03000000de280000ff11000000000000,Test Pad,a:b0,b:b1,platform:Windows,\n";

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct MappingsCase {
    const char* what;
    std::function<void(const fs::path&)> make;
    // What the one line on standard error says, or empty for silence.
    std::string message;
};

} // namespace

TEST(GamepadMappings, OneLineForAFileThatCannotBeUsedAndSilenceOtherwise) {
    const fs::path file = fs::temp_directory_path() / "chronocell-gamecontrollerdb.txt";
    const std::vector<MappingsCase> cases{
        {"absent", [](const fs::path&) {}, ""},
        {"good", [](const fs::path& path) { writeFile(path, kGoodMappings); }, ""},
        {"empty", [](const fs::path& path) { writeFile(path, ""); }, ""},
        {"folder", [](const fs::path& path) { fs::create_directory(path); }, "is a folder"},
        {"too large",
         [](const fs::path& path) {
             writeFile(path, kGoodMappings);
             fs::resize_file(path, kMaxGamepadMappingsBytes + 1);
         },
         "is larger than 4 MB"},
        {"at the limit",
         [](const fs::path& path) {
             writeFile(path, kGoodMappings);
             fs::resize_file(path, kMaxGamepadMappingsBytes);
         },
         ""},
        {"good, after an unrelated GLFW error",
         [](const fs::path& path) {
             writeFile(path, kGoodMappings);
             glfwWindowHint(0, 0);
         },
         ""},
        {"refused", [](const fs::path& path) { writeFile(path, "0bad,Broken Pad,a:b0\n"); },
         "has lines GLFW could not read"},
    };
    for (const MappingsCase& mappingsCase : cases) {
        fs::remove_all(file);
        mappingsCase.make(file);
        std::ostringstream errors;
        loadGamepadMappings(file, errors);
        const std::string said = errors.str();
        if (mappingsCase.message.empty()) {
            EXPECT_EQ("", said) << mappingsCase.what;
        } else {
            EXPECT_EQ(0u, said.find("chronocell: gamepad mappings " + file.string() + " " +
                                    mappingsCase.message))
                << mappingsCase.what << ": " << said;
            EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << mappingsCase.what;
        }
    }
    fs::remove_all(file);
}
