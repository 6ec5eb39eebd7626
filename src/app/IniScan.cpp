#include "app/IniScan.h"

#include <cctype>
#include <cerrno>
#include <ini.h>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Where inih finds the ']' that closes a section line: a ';' after a blank starts a comment first.
std::size_t closingBracket(std::string_view text) {
    bool afterSpace = false;
    for (std::size_t at = 1; at < text.size(); ++at) {
        if (text[at] == ']') {
            return at;
        }
        if (afterSpace && text[at] == ';') {
            break;
        }
        afterSpace = isSpace(text[at]);
    }
    return std::string_view::npos;
}

} // namespace

IniScan IniScan::read(const std::string& path) {
    IniScan scan;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        scan.readError_ = errno;
        return scan;
    }
    scan.file_ = file.get();
    const int verdict = ini_parse_stream(&IniScan::readPiece, &scan, &IniScan::takeValue, &scan);
    scan.finishPiece();
    scan.file_ = nullptr;
    if (verdict < 0 && scan.readError_ == 0) {
        // inih's only failure of its own is running out of memory for a line.
        scan.readError_ = ENOMEM;
    }
    if (verdict > 0 && static_cast<std::size_t>(verdict) <= scan.pieceLines_.size()) {
        scan.firstRefusedLine_ = scan.pieceLines_[static_cast<std::size_t>(verdict) - 1];
    }
    return scan;
}

// Reads as fgets does, which is what inih's own file reading uses, but knows where lines end even
// when a piece holds a NUL byte.
char* IniScan::readPiece(char* text, int size, void* scan) {
    IniScan& self = *static_cast<IniScan*>(scan);
    self.finishPiece();
    int count = 0;
    bool endsLine = false;
    while (count + 1 < size && !endsLine) {
        const int c = std::getc(self.file_);
        if (c == EOF) {
            break;
        }
        text[count++] = static_cast<char>(c);
        endsLine = c == '\n';
    }
    if (std::ferror(self.file_)) {
        self.readError_ = errno != 0 ? errno : EIO;
        return nullptr;
    }
    if (count == 0) {
        return nullptr;
    }
    text[count] = '\0';
    self.startPiece(text, count, endsLine);
    return text;
}

int IniScan::takeValue(void* scan, const char* section, const char* name, const char* value) {
    IniScan& self = *static_cast<IniScan*>(scan);
    if (name == nullptr) {
        return 1;
    }
    self.pieceTaken_ = true;
    const int line = self.pieceLines_.back();
    // inih calls a non-blank indented line after a value more of that value.
    const bool continues = !self.continuedName_.empty() && !self.entries_.empty() &&
                           !self.piece_.empty() && isSpace(self.piece_.front());
    if (continues) {
        self.entries_.back().value += std::string("\n") + (value != nullptr ? value : "");
        self.entries_.back().continuationLines.push_back(line);
        return 1;
    }
    self.continuedName_ = name;
    self.entries_.push_back({section, name, value != nullptr ? value : "", line, {}});
    return 1;
}

void IniScan::startPiece(const char* text, int size, bool endsLine) {
    // inih stops at a NUL byte, so nothing after one counts.
    const std::string_view whole(text, static_cast<std::size_t>(size));
    piece_.assign(whole.substr(0, whole.find('\0')));
    piecePending_ = true;
    pieceTaken_ = false;
    pieceLines_.push_back(nextLine_);
    if (endsLine) {
        ++nextLine_;
    }
}

void IniScan::finishPiece() {
    if (piecePending_ && !pieceTaken_) {
        classifyUntakenPiece();
    }
    piecePending_ = false;
}

// A piece the handler took nothing from is blank, a comment, a section line or one inih refused.
void IniScan::classifyUntakenPiece() {
    std::string_view text = piece_;
    if (pieceLines_.size() == 1 && text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    text = trimmed(text);
    if (text.empty() || text.front() == ';' || text.front() == '#') {
        return;
    }
    const int line = pieceLines_.back();
    const std::size_t end = text.front() == '[' ? closingBracket(text) : std::string_view::npos;
    if (end != std::string_view::npos) {
        sections_.push_back({line, std::string(text.substr(1, end - 1))});
        continuedName_.clear();
        return;
    }
    refusedLines_.push_back({line, std::string(text)});
}
