#pragma once

namespace platform {

// Whether a window can be opened at all: on Linux an X or Wayland display must be named in the
// environment, while Windows always has its desktop.
bool hasDisplay();

} // namespace platform
