#include "platform/ini/IniParser.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ini.h>
#include <string>
#include <vector>

namespace {

// The file read as inih reads one: by fgets.
char* readPiece(char* piece, int size, void* file) {
    return std::fgets(piece, size, static_cast<std::FILE*>(file));
}

// Every call a parser makes, and what it returns; a handler call for `refused` is refused.
struct Calls {
    std::string refused;
    std::vector<std::string> seen;
    int result = 0;
};

int record(void* user, const char* section, const char* name, const char* value) {
    Calls& calls = *static_cast<Calls*>(user);
    calls.seen.push_back(std::string(section) + "|" + name + "|" + value);
    return calls.refused != name ? 1 : 0;
}

Calls parsedBy(int (*parse)(ini_reader, void*, ini_handler, void*), const std::string& text,
               const std::string& refused) {
    std::string bytes = text;
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "r");
    Calls calls;
    calls.refused = refused;
    calls.result = parse(&readPiece, file, &record, &calls);
    std::fclose(file);
    return calls;
}

int ours(ini_reader reader, void* stream, ini_handler handler, void* user) {
    return iniParser::parseStream(reader, stream, handler, user);
}

} // namespace

// The Windows build reads settings with the project's own parser, as Debian's libinih is not to
// be had there. Catches any way the two would read a player's file apart: a byte order mark not
// skipped or skipped past the first line, comments at the start or inline (only after a blank),
// ':' as '=', blanks trimmed around names and values, CRLF endings, sections unclosed or cut at
// 49 bytes, names cut at 49, a line longer than a piece read as two, an indented line taken as
// more of the last value (but not after a section), a line that is no setting, a handler's
// refusal, and the line number of the first error among several.
TEST(IniParser, ReadsEveryFileAsDebiansLibinihDoes) {
    const std::string longName(60, 'n');
    const std::string longSection(60, 's');
    const struct {
        std::string text;
        std::string refused;
    } files[] = {
        {"\xEF\xBB\xBF[window]\nwidth = 800\n\xEF\xBB\xBFheight=600\n", ""},
        {"; a comment\n# another\n[window] ; inline\nwidth = 1024 ; cut here\ntitle = a;b\n", ""},
        {"[window]\r\nfullscreen: yes\r\n  \t\r\nbrightness\t=\t0.5 \r\n", ""},
        {"[win\ndow]\nwidth = 1\n[" + longSection + "]\n" + longName + " = x\n  more\n", ""},
        {"[window]\ntitle = " + std::string(250, 't') + "\nheight = 2\n", ""},
        {"[window]\ntitle = first\n  second line\n\tthird ; comment\n[audio]\n  not a value\n", ""},
        {"width = before any section\n= no name\njunk\n[window]\nalso junk\nvolume = 0.1\n", ""},
        {"[window]\nwidth = 1\nheight = 2\n  more of height\nwidth = 3\n", "height"},
        {"[window]\nempty =\n=\n  [not a section]\nkey = a = b\n", ""},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.text);
        const Calls theirs = parsedBy(&ini_parse_stream, file.text, file.refused);
        const Calls mine = parsedBy(&ours, file.text, file.refused);
        EXPECT_EQ(mine.seen, theirs.seen);
        EXPECT_EQ(mine.result, theirs.result);
    }
}
