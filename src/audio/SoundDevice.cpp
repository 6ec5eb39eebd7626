#include "audio/SoundDevice.h"

#include "audio/AudioMixer.h"

std::unique_ptr<SoundOutput> openSoundDevice(float volume, std::ostream& errors) {
    return AudioMixer::open(volume, errors);
}
