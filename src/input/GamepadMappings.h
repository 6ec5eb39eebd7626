#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>

// The largest mappings file taken: the whole community database is well under a megabyte, and a
// file far larger is a mistake that would only slow the start.
inline constexpr std::uintmax_t kMaxGamepadMappingsBytes = 4 * 1024 * 1024;

// Gives the pad layouts in this file (SDL_GameControllerDB's text format) to GLFW, beside the
// ones it knows already; call after glfwInit. An absent file is the usual case and says nothing;
// one that cannot be used, or that GLFW refuses, is one line on errors, and the game goes on with
// the layouts GLFW has.
void loadGamepadMappings(const std::filesystem::path& path, std::ostream& errors);
