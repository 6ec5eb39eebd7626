#include "video/EncoderProgram.h"

#include "platform/ProgramSearch.h"
#include "video/ExportMessage.h"

#include <cstdlib>
#include <ostream>

namespace {

constexpr const char* kOverride = "CHRONOCELL_FFMPEG";
constexpr const char* kDefaultName = "ffmpeg";

} // namespace

namespace encoderProgram {

std::optional<std::filesystem::path> find(std::ostream& errors) {
    const char* chosen = std::getenv(kOverride);
    if (chosen != nullptr && *chosen != '\0') {
        auto program = programSearch::find(chosen);
        if (!program) {
            errors << kCannotExport << "the encoder " << kOverride << " names (" << chosen
                   << ") was not found or cannot run\n";
        }
        return program;
    }
    auto program = programSearch::find(kDefaultName);
    if (!program) {
        errors << kCannotExport << kDefaultName << " was not found ("
               << programSearch::installAdvice(kDefaultName) << ")\n";
    }
    return program;
}

} // namespace encoderProgram
