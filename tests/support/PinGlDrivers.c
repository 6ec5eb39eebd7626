/* Preloaded into sanitizer runs only. The GL driver libraries are opened with RTLD_NODELETE so
 * they stay mapped after the window system closes them at exit; LeakSanitizer can then name
 * their frames, and the driver's own allocations are matched by the suppressions file instead of
 * showing up as anonymous leaks. */
#define _GNU_SOURCE
#include <dlfcn.h>

static const char* const kDriverLibraries[] = {
    "libGLX_mesa.so.0",
    "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
};

__attribute__((constructor)) static void pinGlDrivers(void) {
    for (unsigned i = 0; i < sizeof(kDriverLibraries) / sizeof(kDriverLibraries[0]); ++i) {
        dlopen(kDriverLibraries[i], RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
}
