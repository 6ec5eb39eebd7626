#include "platform/Process.h"

#include <string>
#include <windows.h>

namespace platform {

int processId() {
    return static_cast<int>(::GetCurrentProcessId());
}

std::filesystem::path executablePath() {
    // A long path can exceed MAX_PATH: the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

} // namespace platform
