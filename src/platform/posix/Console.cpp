#include "platform/Console.h"

#include <unistd.h>

namespace platform {

void attachConsole() {}

bool errorsGoToTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace platform
