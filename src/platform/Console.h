#pragma once

namespace platform {

// Called first in main. A Windows game is linked as a GUI program, so the Start menu opens no
// console for it; started from a console, its lines go there unless they are already sent to a
// file or pipe. Nothing to do elsewhere.
void attachConsole();

// Whether the error output is a terminal a person watches, where progress may redraw its line.
bool errorsGoToTerminal();

} // namespace platform
