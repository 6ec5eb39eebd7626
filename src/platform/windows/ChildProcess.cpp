#include "platform/ChildProcess.h"

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/WindowsCommandLine.h"
#include "platform/windows/WindowsErrors.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <io.h>
#include <ostream>
#include <utility>
#include <windows.h>

namespace {

// ffmpeg ends within milliseconds of its input closing; a program that does not is ended.
constexpr DWORD kStopGraceMilliseconds = 1000;
// The tail of the error output read for its last line: ffmpeg's lines are far shorter.
constexpr LONGLONG kErrorTailBytes = 4096;

HANDLE handleOf(const FileDescriptor& file) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(file.get()));
}

FileDescriptor descriptorOf(HANDLE handle, int flags) {
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (descriptor < 0) {
        ::CloseHandle(handle);
    }
    return FileDescriptor(descriptor);
}

// A scratch file the program appends its errors to and the game reads back; Windows removes it
// when the last handle goes, so no export leaves it behind.
FileDescriptor errorLogFile(DWORD& error) {
    static std::atomic<int> made{0};
    const std::filesystem::path name =
        platform::scratchFolder() / ("chronocell-encoder-" + std::to_string(platform::processId()) +
                                     "-" + std::to_string(made++) + ".log");
    // Append-only: the program's writes go to the end whatever offset the game reads at.
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE file =
        ::CreateFileW(name.c_str(), GENERIC_READ | FILE_APPEND_DATA | DELETE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                      CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return FileDescriptor();
    }
    return descriptorOf(file, _O_RDONLY | _O_BINARY);
}

HANDLE nullOutput() {
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    return ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                         OPEN_EXISTING, 0, nullptr);
}

// The program's handles: the game's ends of them are not inherited, the program's are.
bool startProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  HANDLE input, HANDLE errorLog, PROCESS_INFORMATION& started) {
    const std::string line = windowsCommandLine::join(program.string(), arguments);
    std::wstring wideLine = std::filesystem::path(line).wstring();
    HANDLE output = nullOutput();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errorLog;
    const BOOL ok = ::CreateProcessW(program.c_str(), wideLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr, nullptr,
                                     &startup, &started);
    const DWORD error = ::GetLastError();
    if (output != INVALID_HANDLE_VALUE) {
        ::CloseHandle(output);
    }
    ::SetLastError(error);
    return ok != 0;
}

HANDLE processOf(std::intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

} // namespace

std::optional<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                const std::vector<std::string>& arguments,
                                                std::ostream& errors) {
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
        errors << "cannot make a pipe: " << windowsErrors::describe(::GetLastError()) << "\n";
        return std::nullopt;
    }
    ::SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    FileDescriptor input = descriptorOf(writeEnd, _O_WRONLY | _O_BINARY);
    FileDescriptor theirInput = descriptorOf(readEnd, _O_RDONLY | _O_BINARY);
    DWORD error = ERROR_SUCCESS;
    FileDescriptor errorLog = errorLogFile(error);
    if (!errorLog.isOpen()) {
        errors << "cannot make a file for the encoder's errors: " << windowsErrors::describe(error)
               << "\n";
        return std::nullopt;
    }
    PROCESS_INFORMATION started{};
    if (!startProcess(program, arguments, handleOf(theirInput), handleOf(errorLog), started)) {
        errors << "cannot start " << program << ": " << windowsErrors::describe(::GetLastError())
               << "\n";
        return std::nullopt;
    }
    ::CloseHandle(started.hThread);
    // The program has its own: the log stays inheritable only for programs started later, which
    // would then keep it open, so it is made private now.
    ::SetHandleInformation(handleOf(errorLog), HANDLE_FLAG_INHERIT, 0);
    return ChildProcess(reinterpret_cast<std::intptr_t>(started.hProcess), std::move(input),
                        std::move(errorLog));
}

bool ChildProcess::wait(std::string& problem) {
    input_.close();
    if (process_ == 0) {
        problem = "was stopped";
        return false;
    }
    HANDLE process = processOf(std::exchange(process_, 0));
    DWORD status = 0;
    const bool waited = ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                        ::GetExitCodeProcess(process, &status);
    const DWORD error = ::GetLastError();
    ::CloseHandle(process);
    if (!waited) {
        problem = "could not be waited for: " + windowsErrors::describe(error);
        return false;
    }
    if (status == 0) {
        return true;
    }
    problem = "exited with status " + std::to_string(status);
    return false;
}

bool ChildProcess::reapWithin(int milliseconds) {
    HANDLE process = processOf(process_);
    if (::WaitForSingleObject(process, static_cast<DWORD>(milliseconds)) == WAIT_TIMEOUT) {
        return false;
    }
    ::CloseHandle(process);
    process_ = 0;
    return true;
}

// A program without a console gets no Ctrl+Break: the end of its input is the request.
void ChildProcess::stop() {
    input_.close();
    if (process_ == 0) {
        return;
    }
    if (reapWithin(kStopGraceMilliseconds)) {
        return;
    }
    ::TerminateProcess(processOf(process_), 1);
    reapWithin(INFINITE);
}

std::string ChildProcess::lastErrorLine() const {
    HANDLE log = handleOf(errorLog_);
    LARGE_INTEGER size{};
    if (!errorLog_.isOpen() || !::GetFileSizeEx(log, &size)) {
        return {};
    }
    const LONGLONG from = std::max<LONGLONG>(0, size.QuadPart - kErrorTailBytes);
    std::string tail(static_cast<std::size_t>(size.QuadPart - from), '\0');
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(from);
    at.OffsetHigh = static_cast<DWORD>(from >> 32);
    DWORD read = 0;
    if (!::ReadFile(log, tail.data(), static_cast<DWORD>(tail.size()), &read, &at)) {
        read = 0;
    }
    tail.resize(read);
    return lastLineOf(tail);
}
