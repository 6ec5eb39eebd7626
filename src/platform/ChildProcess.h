#pragma once

#include "platform/FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// A program started with its arguments as they are (no shell reads them), its standard input
// a pipe this process writes, its output discarded and its error output kept in a file of its
// own so that a failure can be told. It runs in a process group of its own (on Windows without
// a console): Ctrl+C reaches only the game, which then decides whether to stop it.
class ChildProcess {
  public:
    // The running program, or none after one line on `errors` saying why it did not start.
    static std::optional<ChildProcess> start(const std::filesystem::path& program,
                                             const std::vector<std::string>& arguments,
                                             std::ostream& errors);
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The write end of the program's standard input, handed over once.
    FileDescriptor takeInput();
    // Waits for the program to end; true when it exited with status 0, otherwise `problem`
    // says how it ended.
    bool wait(std::string& problem);
    // Asks the program to stop, forces it after a short wait, and reaps it.
    void stop();
    // The last line the program wrote to its error output, or an empty string.
    std::string lastErrorLine() const;

  private:
    ChildProcess(std::intptr_t process, FileDescriptor input, FileDescriptor errorLog)
        : process_(process), input_(std::move(input)), errorLog_(std::move(errorLog)) {}
    bool reapWithin(int milliseconds);
    // The last line of the end of the error output that holds any text.
    static std::string lastLineOf(std::string tail);

    // The process id (POSIX) or handle (Windows); 0 once reaped.
    std::intptr_t process_ = 0;
    FileDescriptor input_;
    FileDescriptor errorLog_;
};
