// Feeds arbitrary bytes to the recorded games' reader and replay: the header, every pass to the
// end, the waits a paced replay would make for its wall times and clock values (interrupted at
// once, so only their arithmetic runs), and the rules replaying whatever passes the reader took.
#include "replay/HeadlessReplay.h"
#include "replay/ReplayClock.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

namespace {

bool readsToTheEnd(RecordingReader& reader) {
    ReplayClock paced;
    paced.pace([] { return true; });
    RecordedPass pass;
    RecordingReader::Next next = RecordingReader::Next::Pass;
    while ((next = reader.next(pass)) == RecordingReader::Next::Pass) {
        paced.startPass(pass.clockReads);
        paced.waitForWallTime(pass.wallMilliseconds);
        for (std::size_t i = 0; i < pass.clockReads.size(); ++i) {
            paced.now();
        }
    }
    return next != RecordingReader::Next::Damaged;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingReader reader(std::vector<std::uint8_t>(data, data + size));
    RecordingHeader header;
    if (!reader.readHeader(header) || !readsToTheEnd(reader)) {
        return 0;
    }
    reader.rewind();
    std::ostringstream summaries;
    replayHeadless(std::move(reader), header, summaries, summaries);
    return 0;
}
