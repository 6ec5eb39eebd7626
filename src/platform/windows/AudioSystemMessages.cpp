#include "platform/AudioSystemMessages.h"

namespace platform {

// Windows' sound system writes nothing to a program's standard error.
void quietenAudioSystemMessages() {}

} // namespace platform
