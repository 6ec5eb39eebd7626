#include "platform/ini/IniParser.h"

#include <cctype>
#include <cstring>

namespace {

// inih's sizes as Debian builds it: a line buffer of 200 bytes, section and name buffers of 50.
constexpr int kMaxLine = 200;
constexpr std::size_t kMaxSection = 50;
constexpr std::size_t kMaxName = 50;
constexpr const char* kStartCommentPrefixes = ";#";
constexpr const char* kInlineCommentPrefixes = ";";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char* rightStripped(char* text) {
    char* end = text + std::strlen(text);
    while (end > text && isSpace(end[-1])) {
        *--end = '\0';
    }
    return text;
}

char* leftSkipped(char* text) {
    while (*text != '\0' && isSpace(*text)) {
        ++text;
    }
    return text;
}

// The first of `chars` in `text`, or an inline comment's start (a prefix after a blank), or the
// end; with no `chars`, only the comment or the end.
char* charsOrComment(char* text, const char* chars) {
    bool afterSpace = false;
    while (*text != '\0' && (chars == nullptr || std::strchr(chars, *text) == nullptr) &&
           !(afterSpace && std::strchr(kInlineCommentPrefixes, *text) != nullptr)) {
        afterSpace = isSpace(*text);
        ++text;
    }
    return text;
}

// Copies at most `size` - 1 bytes and always ends the copy.
void copyCut(char* to, const char* from, std::size_t size) {
    const std::size_t length = strnlen(from, size - 1);
    std::memcpy(to, from, length);
    to[length] = '\0';
}

void cutAtComment(char* value) {
    char* comment = charsOrComment(value, nullptr);
    *comment = '\0';
}

struct Parse {
    iniParser::Handler handler;
    void* user;
    char section[kMaxSection] = "";
    char previousName[kMaxName] = "";
    int error = 0;

    void fail(int line) {
        if (error == 0) {
            error = line;
        }
    }

    // A continuation keeps an inline comment: only a name's value loses one.
    void continuation(const char* start, int line) {
        if (handler(user, section, previousName, start) == 0) {
            fail(line);
        }
    }

    void sectionLine(char* start, int line) {
        char* end = charsOrComment(start + 1, "]");
        if (*end != ']') {
            fail(line);
            return;
        }
        *end = '\0';
        copyCut(section, start + 1, kMaxSection);
        previousName[0] = '\0';
    }

    void pairLine(char* start, int line) {
        char* end = charsOrComment(start, "=:");
        if (*end != '=' && *end != ':') {
            fail(line);
            return;
        }
        *end = '\0';
        const char* name = rightStripped(start);
        char* value = end + 1;
        cutAtComment(value);
        value = rightStripped(leftSkipped(value));
        copyCut(previousName, name, kMaxName);
        if (handler(user, section, name, value) == 0) {
            fail(line);
        }
    }
};

} // namespace

namespace iniParser {

int parseStream(Reader reader, void* stream, Handler handler, void* user) {
    char text[kMaxLine];
    Parse parse{handler, user};
    for (int line = 1; reader(text, kMaxLine, stream) != nullptr; ++line) {
        char* start = text;
        if (line == 1 && std::strncmp(start, kByteOrderMark, 3) == 0) {
            start += 3;
        }
        start = leftSkipped(rightStripped(start));
        // A blank line counts as a comment: strchr finds the terminator too.
        if (std::strchr(kStartCommentPrefixes, *start) != nullptr) {
            continue;
        }
        if (parse.previousName[0] != '\0' && start > text) {
            parse.continuation(start, line);
        } else if (*start == '[') {
            parse.sectionLine(start, line);
        } else {
            parse.pairLine(start, line);
        }
    }
    return parse.error;
}

} // namespace iniParser
