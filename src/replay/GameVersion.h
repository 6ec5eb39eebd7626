#pragma once

// This build's version (the CMake project version), as --version prints it and recordings
// carry it.
const char* gameVersion();
