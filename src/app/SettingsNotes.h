#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The mistakes found in one settings file, each named on a line of its own as
// "chronocell: FILE:LINE: what was wrong; what the game did", in the file's order. A file of junk
// is cut short after the first few, with one line counting the rest.
class SettingsNotes {
  public:
    static constexpr std::size_t kMostNamed = 20;

    explicit SettingsNotes(std::string path) : path_(std::move(path)) {}

    void add(int line, std::string text);
    void write(std::ostream& errors);

    // Text from the file as a message shows it: control bytes escaped, so a note stays one line
    // and cannot steer the terminal, and cut short when long.
    static std::string shown(std::string_view text);

  private:
    struct Note {
        int line;
        std::string text;
    };
    std::string path_;
    std::vector<Note> notes_;
};
