#include "platform/SoundSystem.h"

namespace platform {

// Windows' audio APIs write nothing to standard error.
void quietenSoundLibrary() {}

} // namespace platform
