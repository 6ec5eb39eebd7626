#include "platform/QuitSignals.h"

#include <SDL.h>
#include <csignal>

namespace {

volatile std::sig_atomic_t quitRequested = 0;

extern "C" void onQuitSignal(int /*signal*/) {
    quitRequested = 1;
}

} // namespace

namespace quitSignals {

void install() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // The first signal asks for the normal shutdown; the handler then gives way to the default.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool received() {
    return quitRequested != 0;
}

void shutdownDone() {}

} // namespace quitSignals
