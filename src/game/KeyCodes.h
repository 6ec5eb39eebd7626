#pragma once

// The key codes the game acts on, as GLFW numbers them. Recorded games store released keys by
// these numbers, so the rules and the replay know them without the window library; the
// application checks that they still match GLFW's own.
namespace keys {

inline constexpr int kUnknown = -1;
inline constexpr int kF = 70;
inline constexpr int kL = 76;
inline constexpr int kM = 77;
inline constexpr int kO = 79;
inline constexpr int kEscape = 256;
inline constexpr int kEnter = 257;
inline constexpr int kDown = 264;
inline constexpr int kUp = 265;
inline constexpr int kF1 = 290;
inline constexpr int kF2 = 291;
inline constexpr int kF3 = 292;

} // namespace keys
