#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Content paths are written the Windows way ("assets\shader\x.vert") throughout the game;
// this turns them into a path the host's file functions understand, inside the content root.
std::string assetPath(const std::string& contentPath);

// The folder that holds assets/, chosen once at start-up. Empty (the default) means the working
// directory, and then content paths stay relative, exactly as written.
void setContentRoot(const std::filesystem::path& root);
const std::filesystem::path& contentRoot();

// Why a content file that failed to load is not there to load, in words ("no such file", "a
// folder, not a file"), or nothing when it is a file: then the reason lies in its contents.
std::optional<std::string> missingFileProblem(const std::string& fileName);
