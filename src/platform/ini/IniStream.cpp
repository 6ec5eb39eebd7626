#include "ini.h"

#include "platform/ini/IniParser.h"

int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user) {
    return iniParser::parseStream(reader, stream, handler, user);
}
