#pragma once

// inih's stream call as the settings reader makes it, for the builds without Debian's libinih
// (Windows): the same declaration, answered by the game's own parser (platform/ini/IniParser.h).
typedef char* (*ini_reader)(char* str, int num, void* stream);
typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);

int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user);
