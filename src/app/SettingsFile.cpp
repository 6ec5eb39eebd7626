#include "app/SettingsFile.h"

#include "app/IniScan.h"
#include "app/SettingsNotes.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

namespace {

// Larger windows than this are refused by X servers and GL drivers alike.
constexpr long kMaxWindowSide = 16384;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The values are read by INIReader's own rules, so a file means what it always meant: the leading
// number counts, in any base C reads (800px is 800, 0x400 is 1024, 010 is 8).
std::optional<long> leadingInteger(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    return end > text.c_str() ? std::optional<long>(value) : std::nullopt;
}

std::optional<double> leadingReal(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end > text.c_str() ? std::optional<double>(value) : std::nullopt;
}

std::optional<bool> truthValue(const std::string& text) {
    const std::string word = lowered(text);
    if (word == "true" || word == "yes" || word == "on" || word == "1") {
        return true;
    }
    if (word == "false" || word == "no" || word == "off" || word == "0") {
        return false;
    }
    return std::nullopt;
}

std::string named(long value) {
    return std::to_string(value);
}
std::string named(bool value) {
    return value ? "true" : "false";
}
std::string named(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// One value of a known key, and how to say what became of it.
struct Given {
    const IniScan::Entry& entry;
    SettingsNotes& notes;

    void say(const std::string& what, const std::string& outcome) const {
        notes.add(entry.line,
                  entry.name + " = " + SettingsNotes::shown(entry.value) + " " + what + outcome);
    }
    void refuse(const std::string& why, const std::string& kept) const {
        say(why, "; keeping " + kept);
    }
    void bound(const std::string& why, const std::string& used) const {
        say(why, "; using " + used);
    }
};

void applyWindowSide(int& side, const Given& given) {
    const std::optional<long> value = leadingInteger(given.entry.value);
    if (!value || *value <= 0) {
        given.refuse(value ? "is not a size above 0" : "is not a number", named(long{side}));
        return;
    }
    if (*value > kMaxWindowSide) {
        given.bound("is larger than a window can be", named(kMaxWindowSide));
    }
    side = static_cast<int>(std::min(*value, kMaxWindowSide));
}

void applyInteger(int& target, const Given& given) {
    const std::optional<long> value = leadingInteger(given.entry.value);
    if (!value) {
        given.refuse("is not a number", named(long{target}));
        return;
    }
    target = static_cast<int>(*value);
}

void applyBoolean(bool& target, const Given& given) {
    const std::optional<bool> value = truthValue(given.entry.value);
    if (!value) {
        given.refuse("is not true or false", named(target));
        return;
    }
    target = *value;
}

void applyUnit(float& target, const Given& given) {
    const std::optional<double> value = leadingReal(given.entry.value);
    if (!value || !std::isfinite(*value)) {
        given.refuse(value ? "is not a finite number" : "is not a number", named(target));
        return;
    }
    const double used = std::clamp(*value, 0.0, 1.0);
    if (used != *value) {
        given.bound("is outside 0 to 1", named(static_cast<float>(used)));
    }
    target = static_cast<float>(used);
}

struct KnownKey {
    const char* section;
    const char* name;
    void (*apply)(Settings&, const Given&);
};

constexpr KnownKey kKnownKeys[] = {
    {"window", "width", [](Settings& s, const Given& g) { applyWindowSide(s.width, g); }},
    {"window", "height", [](Settings& s, const Given& g) { applyWindowSide(s.height, g); }},
    {"window", "refresh_rate", [](Settings& s, const Given& g) { applyInteger(s.refreshRate, g); }},
    {"window", "fullscreen", [](Settings& s, const Given& g) { applyBoolean(s.fullscreen, g); }},
    {"window", "shader_brightness",
     [](Settings& s, const Given& g) { applyUnit(s.shaderBrightness, g); }},
    {"window", "title", [](Settings& s, const Given& g) { s.title = g.entry.value; }},
    {"audio", "volume", [](Settings& s, const Given& g) { applyUnit(s.volume, g); }},
    {"audio", "enabled", [](Settings& s, const Given& g) { applyBoolean(s.soundEnabled, g); }},
};

bool isKnownSection(const std::string& section) {
    return section == "window" || section == "audio";
}

const KnownKey* findKey(const std::string& section, const std::string& name) {
    const auto* key =
        std::find_if(std::begin(kKnownKeys), std::end(kKnownKeys), [&](const KnownKey& known) {
            return section == known.section && name == known.name;
        });
    return key == std::end(kKnownKeys) ? nullptr : key;
}

void nameUnknownSections(const IniScan& scan, SettingsNotes& notes) {
    for (const IniScan::Line& section : scan.sections()) {
        if (!isKnownSection(lowered(section.text))) {
            notes.add(section.line, "unknown section [" + SettingsNotes::shown(section.text) +
                                        "]; its keys are ignored");
        }
    }
}

// A key that is not a setting, or not in a section the game reads; keys of an unknown section
// were named with their section.
void nameUnknownKey(const IniScan::Entry& entry, const std::string& section, SettingsNotes& notes) {
    const std::string key = "unknown key '" + SettingsNotes::shown(entry.name) + "'";
    if (section.empty()) {
        notes.add(entry.line, key + " before any section; ignored");
    } else if (isKnownSection(section)) {
        notes.add(entry.line, key + " in [" + entry.section + "]; ignored");
    }
}

void applyKey(const KnownKey& key, const IniScan::Entry& entry, Settings& settings,
              SettingsNotes& notes) {
    key.apply(settings, Given{entry, notes});
    // A title may run over lines; any other value stops at its first line.
    if (std::string_view(key.name) != "title") {
        for (const int line : entry.continuationLines) {
            notes.add(line, "indented line read as more of " + entry.name + "'s value; ignored");
        }
    }
}

// Each key the file sets replaces the value in `settings`. A key set twice takes its last value,
// the one nearest the end of the file where a player adds lines, and the earlier line is named;
// INIReader would have joined the two into one value that no number or word reads.
void applyEntries(const IniScan& scan, Settings& settings, SettingsNotes& notes) {
    const std::vector<IniScan::Entry>& entries = scan.entries();
    std::map<std::string, std::size_t> last;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        last[lowered(entries[at].section) + '=' + lowered(entries[at].name)] = at;
    }
    for (std::size_t at = 0; at < entries.size(); ++at) {
        const IniScan::Entry& entry = entries[at];
        const std::string section = lowered(entry.section);
        const std::string name = lowered(entry.name);
        const KnownKey* key = findKey(section, name);
        const std::size_t lastAt = last[section + '=' + name];
        if (key == nullptr) {
            nameUnknownKey(entry, section, notes);
        } else if (lastAt != at) {
            notes.add(entry.line, entry.name + " is set again on line " +
                                      std::to_string(entries[lastAt].line) + "; ignored");
        } else {
            applyKey(*key, entry, settings, notes);
        }
    }
}

void applyScan(const IniScan& scan, Settings& settings, SettingsNotes& notes) {
    nameUnknownSections(scan, notes);
    applyEntries(scan, settings, notes);
}

} // namespace

Settings readSettings(const std::string& path, std::ostream& errors) {
    Settings settings;
    // A folder opens on this platform and fails on the first read, so it lands here too.
    const IniScan scan = IniScan::read(path);
    if (scan.readError() != 0) {
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;
        return settings;
    }
    SettingsNotes notes(path);
    for (const IniScan::Line& refused : scan.refusedLines()) {
        // Appended, not prefixed: GCC 12 at -O3 takes "'" + std::string&& for an overflow.
        std::string note = "'";
        note += SettingsNotes::shown(refused.text);
        note += "' is not a setting; ignored";
        notes.add(refused.line, note);
    }
    applyScan(scan, settings, notes);
    notes.write(errors);
    return settings;
}

Settings readSettings(const std::string& path) {
    return readSettings(path, std::cerr);
}

void overlayUserSettings(Settings& settings, const std::string& path, std::ostream& errors) {
    if (path.empty()) {
        return;
    }
    const IniScan scan = IniScan::read(path);
    // No file of the player's own is the usual case, and nothing to say.
    if (scan.readError() == ENOENT) {
        return;
    }
    if (scan.readError() != 0 || scan.firstRefusedLine() != 0) {
        errors << "chronocell: cannot use " << path << " ("
               << (scan.readError() != 0
                       ? std::string(std::strerror(scan.readError()))
                       : "line " + std::to_string(scan.firstRefusedLine()) + " is not a setting")
               << "); the shipped settings stand" << std::endl;
        return;
    }
    SettingsNotes notes(path);
    applyScan(scan, settings, notes);
    notes.write(errors);
}
