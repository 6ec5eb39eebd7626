#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

// ffmpeg stops within a few milliseconds of SIGTERM; a program that ignores it is killed.
constexpr int kStopGraceMilliseconds = 1000;
constexpr int kPollMilliseconds = 5;
constexpr long kNanosecondsPerMillisecond = 1000000;
// The tail of the error output read for its last line: ffmpeg's lines are far shorter.
constexpr off_t kErrorTailBytes = 4096;
// Signals the game may ignore or catch, which the program must take as any program does.
constexpr int kDefaultSignals[] = {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGHUP};

// An unnamed file in the temporary folder, which no export leaves behind: it goes when its last
// descriptor does. Linux makes it without a name at all; elsewhere it is named by mkstemp and
// removed from the folder at once.
FileDescriptor unnamedFile() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        return FileDescriptor(unnamed);
    }
    std::string name = (folder / "chronocell-encoder-XXXXXX").string();
    const int file = ::mkstemp(name.data());
    if (file >= 0) {
        ::unlink(name.c_str());
        ::fcntl(file, F_SETFD, FD_CLOEXEC);
    }
    return FileDescriptor(file);
}

// The spawned program's standard input, output and error output, and its signals as new.
class SpawnSetup {
  public:
    SpawnSetup(int input, int errorLog) {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions_, errorLog, STDERR_FILENO);
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : kDefaultSignals) {
            sigaddset(&defaults, signal);
        }
        posix_spawnattr_setsigdefault(&attributes_, &defaults);
        posix_spawnattr_setpgroup(&attributes_, 0);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                   POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// The program's name and arguments as exec takes them, each one word whatever it holds.
std::vector<char*> argumentVector(const std::string& name,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(name.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

std::string describeEnd(int status) {
    if (WIFEXITED(status)) {
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return std::string("was ended by signal ") + ::strsignal(WTERMSIG(status));
    }
    return "ended with status " + std::to_string(status);
}

pid_t pidOf(std::intptr_t process) {
    return static_cast<pid_t>(process);
}

void sleepMilliseconds(int milliseconds) {
    const timespec pause{0, milliseconds * kNanosecondsPerMillisecond};
    ::nanosleep(&pause, nullptr);
}

} // namespace

std::optional<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                const std::vector<std::string>& arguments,
                                                std::ostream& errors) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        errors << "cannot make a pipe: " << std::strerror(errno) << "\n";
        return std::nullopt;
    }
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    FileDescriptor errorLog = unnamedFile();
    if (!errorLog.isOpen()) {
        errors << "cannot make a file for the encoder's errors: " << std::strerror(errno) << "\n";
        return std::nullopt;
    }
    const std::string name = program.string();
    std::vector<char*> argv = argumentVector(name, arguments);
    const SpawnSetup setup(readEnd.get(), errorLog.get());
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, name.c_str(), setup.actions(), setup.attributes(),
                                    argv.data(), environ);
    if (error != 0) {
        errors << "cannot start " << program << ": " << std::strerror(error) << "\n";
        return std::nullopt;
    }
    return ChildProcess(static_cast<std::intptr_t>(pid), std::move(writeEnd), std::move(errorLog));
}

bool ChildProcess::wait(std::string& problem) {
    input_.close();
    if (process_ == 0) {
        problem = "was stopped";
        return false;
    }
    int status = 0;
    pid_t reaped = 0;
    do {
        reaped = ::waitpid(pidOf(process_), &status, 0);
    } while (reaped < 0 && errno == EINTR);
    process_ = 0;
    if (reaped < 0) {
        problem = std::string("could not be waited for: ") + std::strerror(errno);
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    problem = describeEnd(status);
    return false;
}

bool ChildProcess::reapWithin(int milliseconds) {
    for (int waited = 0; waited <= milliseconds; waited += kPollMilliseconds) {
        int status = 0;
        const pid_t reaped = ::waitpid(pidOf(process_), &status, WNOHANG);
        if (reaped == pidOf(process_) || (reaped < 0 && errno != EINTR)) {
            process_ = 0;
            return true;
        }
        sleepMilliseconds(kPollMilliseconds);
    }
    return false;
}

void ChildProcess::stop() {
    input_.close();
    if (process_ == 0) {
        return;
    }
    ::kill(pidOf(process_), SIGTERM);
    if (reapWithin(kStopGraceMilliseconds)) {
        return;
    }
    ::kill(pidOf(process_), SIGKILL);
    int status = 0;
    while (::waitpid(pidOf(process_), &status, 0) < 0 && errno == EINTR) {
    }
    process_ = 0;
}

std::string ChildProcess::lastErrorLine() const {
    struct stat log {};
    if (!errorLog_.isOpen() || ::fstat(errorLog_.get(), &log) != 0) {
        return {};
    }
    const off_t from = std::max<off_t>(0, log.st_size - kErrorTailBytes);
    std::string tail(static_cast<std::size_t>(log.st_size - from), '\0');
    const ssize_t read = ::pread(errorLog_.get(), tail.data(), tail.size(), from);
    tail.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return lastLineOf(tail);
}
