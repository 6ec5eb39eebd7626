#include "platform/QuitSignals.h"

#include <SDL.h>
#include <atomic>
#include <windows.h>

namespace {

// How long a closing console, a logoff or a shutdown waits for the game to finish: Windows
// itself ends the process after about five seconds.
constexpr DWORD kShutdownWaitMilliseconds = 4000;

std::atomic<bool> quitRequested{false};
HANDLE shutdownFinished = nullptr;

BOOL WINAPI onConsoleControl(DWORD event) {
    // A second request during the shutdown gets Windows' default, which ends the process at once.
    if (quitRequested.exchange(true)) {
        return FALSE;
    }
    // The process ends as soon as this returns for these, so the shutdown must be over first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        ::WaitForSingleObject(shutdownFinished, kShutdownWaitMilliseconds);
    }
    return TRUE;
}

} // namespace

namespace quitSignals {

void install() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    shutdownFinished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool received() {
    return quitRequested.load();
}

void shutdownDone() {
    if (shutdownFinished != nullptr) {
        ::SetEvent(shutdownFinished);
    }
}

} // namespace quitSignals
