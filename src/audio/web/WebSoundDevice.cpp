#include "audio/SoundDevice.h"

#include "audio/web/WebAudioOutput.h"

std::unique_ptr<SoundOutput> openSoundDevice(float volume, std::ostream& errors) {
    return WebAudioOutput::open(volume, errors);
}
