#include "platform/Files.h"

#include "platform/windows/WindowsErrors.h"

#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace platform {

// The user's temporary folder is the user's own on Windows, so `readers` asks for nothing more.
FileDescriptor createNewFile(const std::filesystem::path& path, Readers /*readers*/, int& error) {
    // Not inheritable; CREATE_NEW refuses any name that exists, and a link there is opened as
    // itself, never followed. Others may read it by name while it is open (the encoder does).
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &attributes,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = windowsErrors::toErrno(::GetLastError());
        return FileDescriptor();
    }
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(file);
        error = EMFILE;
        return FileDescriptor();
    }
    error = 0;
    return FileDescriptor(descriptor);
}

std::filesystem::path scratchFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        return std::filesystem::current_path();
    }
    return std::filesystem::path(std::wstring(folder, length)).parent_path();
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    const std::string narrow(mode);
    return ::_wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
}

} // namespace platform
