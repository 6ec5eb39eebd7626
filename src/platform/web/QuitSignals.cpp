#include "platform/QuitSignals.h"

// A page receives no signals: closing its tab ends it, and its recordings are offered for
// download as each session ends.
namespace quitSignals {

void install() {}

bool received() {
    return false;
}

void shutdownDone() {}

} // namespace quitSignals
