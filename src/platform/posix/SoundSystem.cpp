#include "platform/SoundSystem.h"

#include <dlfcn.h>

namespace {

extern "C" void ignoreAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/,
                                  int /*error*/, const char* /*format*/, ...) {}

} // namespace

namespace platform {

// SDL loads ALSA's library itself, so it is reached here the same way, and left loaded for SDL
// to share.
void quietenSoundLibrary() {
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
