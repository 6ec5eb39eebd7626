#pragma once

#include <string>

// Content paths are written the Windows way ("assets\shader\x.vert") throughout the game;
// this turns them into a path the host's file functions understand.
std::string assetPath(const std::string& contentPath);
