#include "app/SettingsNotes.h"

#include <algorithm>
#include <cstdio>

namespace {

// Long enough for any value a setting takes, short enough to keep a note on one screen line.
constexpr std::size_t kLongestShown = 60;

void appendShown(std::string& out, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
        out += "\\n";
    } else if (c == '\t') {
        out += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        out += escaped;
    } else {
        out += c;
    }
}

} // namespace

void SettingsNotes::add(int line, std::string text) {
    notes_.push_back({line, std::move(text)});
}

void SettingsNotes::write(std::ostream& errors) {
    std::stable_sort(notes_.begin(), notes_.end(),
                     [](const Note& a, const Note& b) { return a.line < b.line; });
    const std::size_t named = std::min(notes_.size(), kMostNamed);
    for (std::size_t at = 0; at < named; ++at) {
        errors << "chronocell: " << path_ << ':' << notes_[at].line << ": " << notes_[at].text
               << '\n';
    }
    if (notes_.size() > named) {
        const std::size_t more = notes_.size() - named;
        errors << "chronocell: " << path_ << ": " << more
               << (more == 1 ? " more mistake" : " more mistakes") << " not named\n";
    }
    errors.flush();
}

std::string SettingsNotes::shown(std::string_view text) {
    if (text.empty()) {
        return "(nothing)";
    }
    std::string out;
    for (const char c : text.substr(0, kLongestShown)) {
        appendShown(out, c);
    }
    if (text.size() > kLongestShown) {
        out += "...";
    }
    return out;
}
