#pragma once

#include "platform/FileDescriptor.h"

#include <cstdio>
#include <filesystem>

namespace platform {

enum class Readers { OwnerOnly, Everyone };

// A file made new at `path` for reading and writing, or a closed descriptor with `error` set to
// the errno value saying why. A name that exists, a symbolic link even when dangling, is refused
// (EEXIST) and never followed, so nobody can make the game write into a file of theirs; programs
// the game starts do not inherit it. `Everyone` leaves who may read it to the umask.
FileDescriptor createNewFile(const std::filesystem::path& path, Readers readers, int& error);

// Where scratch files go: $TMPDIR when it names a folder absolutely, else /tmp; on Windows the
// user's temporary folder.
std::filesystem::path scratchFolder();

// fopen for a path of any characters; errno says why when it gives null.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

} // namespace platform
