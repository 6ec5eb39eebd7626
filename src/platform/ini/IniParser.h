#pragma once

// The one call of the inih library the game makes, for the builds where Debian's libinih cannot
// be had (Windows today): the same reading, written after inih's documented rules with the
// settings Debian builds it with. A line is what one call of the reader gives, at most 199 bytes;
// a UTF-8 byte order mark starts the file at most once; ';' and '#' start a comment line, and ';'
// after a blank an inline one (but not on a continuation line); "[section]" names a section (49
// bytes kept); "name = value" or "name: value" calls the handler (49 bytes of the name kept, blanks
// trimmed); an indented line after a value goes to the handler again as more of that value; any
// other line is an error. The result is 0, or the number of the first line in error (the handler's
// refusals included).
namespace iniParser {

using Reader = char* (*)(char* text, int size, void* stream);
using Handler = int (*)(void* user, const char* section, const char* name, const char* value);

int parseStream(Reader reader, void* stream, Handler handler, void* user);

} // namespace iniParser
