#pragma once

#include <string>
#include <vector>

// A Windows program gets one command line, which its C library splits into arguments by
// Microsoft's rules; each argument is quoted so that the split gives it back as it was,
// whatever spaces, quotes or backslashes it holds.
namespace windowsCommandLine {

std::string quote(const std::string& argument);
// The program and its arguments, each quoted, separated by spaces.
std::string join(const std::string& program, const std::vector<std::string>& arguments);

} // namespace windowsCommandLine
