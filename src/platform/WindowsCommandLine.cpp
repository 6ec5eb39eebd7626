#include "platform/WindowsCommandLine.h"

namespace windowsCommandLine {

std::string quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal except before a quote, where each pair gives one: those
        // before a quote of the argument are doubled, and the quote escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    // Those before the closing quote are doubled, so that it still closes.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string join(const std::string& program, const std::vector<std::string>& arguments) {
    std::string line = quote(program);
    for (const std::string& argument : arguments) {
        line += ' ';
        line += quote(argument);
    }
    return line;
}

} // namespace windowsCommandLine
