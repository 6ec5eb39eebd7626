// Feeds arbitrary bytes to the recorded-game reader: the header, then every pass to the end.
#include "replay/RecordingReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingReader reader(std::vector<std::uint8_t>(data, data + size));
    RecordingHeader header;
    if (!reader.readHeader(header)) {
        return 0;
    }
    RecordedPass pass;
    while (reader.next(pass) == RecordingReader::Next::Pass) {
    }
    return 0;
}
