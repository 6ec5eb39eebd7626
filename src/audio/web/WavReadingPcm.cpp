#include "audio/WavReading.h"

#include "audio/PcmWav.h"

// Emscripten's SDL has no WAV loader or converter; the game's sounds are read as they are shipped.
std::optional<std::vector<std::int16_t>> readInMixFormat(const std::string& path,
                                                         std::string& reason) {
    return readPcmWav(path, reason);
}
