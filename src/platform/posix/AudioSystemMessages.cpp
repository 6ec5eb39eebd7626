#include "platform/AudioSystemMessages.h"

#include <dlfcn.h>

namespace {

extern "C" void ignoreAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/,
                                  int /*error*/, const char* /*format*/, ...) {}

} // namespace

namespace platform {

// ALSA's library writes a screenful of its own lines when a machine has no sound card. SDL loads
// the library itself, so it is reached here the same way, and left loaded for SDL to share.
void quietenAudioSystemMessages() {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (alsa == nullptr) {
        return;
    }
    using SetHandler = int (*)(ErrorHandler);
    if (auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        setHandler(ignoreAlsaMessage);
    }
}

} // namespace platform
