#pragma once

// SIGINT (Ctrl+C), SIGTERM (kill, the session manager at logout) and SIGHUP (the terminal closed)
// end the game the way closing its window does: the main loop and every wait ask here, and the
// normal shutdown follows, with a recording finished and closed. SDL's own handlers, which would
// turn them into SDL events that nothing reads, are kept out. A second signal during the shutdown
// ends the process at once.
namespace quitSignals {

void install();
bool received();
// Said at the very end of main. Windows ends a process as soon as its handler returns for a
// closing console, a logoff or a shutdown, so that handler waits (a few seconds at most) for
// this; POSIX signals need no such wait.
void shutdownDone();

} // namespace quitSignals
