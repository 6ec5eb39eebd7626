#pragma once

// How every line the video export prints starts, so a player sees at once what failed.
inline constexpr const char* kCannotExport = "chronocell: cannot export a video: ";
