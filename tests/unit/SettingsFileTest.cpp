#include "app/SettingsFile.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <vector>

namespace {

class SettingsFileTest : public testing::Test {
  protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("chronocell-settings-" + std::to_string(::getpid()));
    std::filesystem::path file = folder / "settings.ini";

    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    Settings read(const std::string& text) {
        std::ofstream(file) << text;
        std::ostringstream errors;
        return readSettings(file.string(), errors);
    }
};

void expectSameSettings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.refreshRate, expected.refreshRate);
    EXPECT_EQ(actual.fullscreen, expected.fullscreen);
    EXPECT_FLOAT_EQ(actual.shaderBrightness, expected.shaderBrightness);
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_FLOAT_EQ(actual.volume, expected.volume);
    EXPECT_EQ(actual.soundEnabled, expected.soundEnabled);
}

// The lines said, with "FILE" standing for the file's path.
std::string saidOf(const std::vector<std::string>& lines, const std::string& path) {
    std::string said;
    for (std::string line : lines) {
        line.replace(line.find("FILE"), 4, path);
        said += "chronocell: " + line + "\n";
    }
    return said;
}

} // namespace

TEST_F(SettingsFileTest, MissingFileReportsAndUsesDefaults) {
    testing::internal::CaptureStdout();
    const Settings settings = readSettings((folder / "absent.ini").string());
    EXPECT_EQ("ERROR: Failed to load '" + (folder / "absent.ini").string() +
                  "'. Using default values instead.\n",
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(800, settings.width);
    EXPECT_EQ(600, settings.height);
    EXPECT_EQ(60, settings.refreshRate);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_FLOAT_EQ(0.3f, settings.shaderBrightness);
    EXPECT_EQ("Chronocell", settings.title);
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsUnreadable) {
    std::filesystem::create_directories(file);
    testing::internal::CaptureStdout();
    const Settings settings = readSettings(file.string());
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStdout().find("Using default values instead."));
    EXPECT_EQ(800, settings.width);
}

TEST_F(SettingsFileTest, IntegersTakeAnyBaseAndTheLeadingNumber) {
    EXPECT_EQ(1024, read("[window]\nwidth = 0x400\n").width);
    EXPECT_EQ(8, read("[window]\nwidth = 010\n").width) << "a leading zero is octal";
    EXPECT_EQ(800, read("[window]\nwidth = 800px\n").width);
    EXPECT_EQ(800, read("[window]\nwidth = abc\n").width);
    EXPECT_EQ(75, read("[window]\nrefresh_rate = 75Hz\n").refreshRate);
}

TEST_F(SettingsFileTest, BooleanAcceptsTheUsualWordsOnly) {
    EXPECT_TRUE(read("[window]\nfullscreen = Yes\n").fullscreen);
    EXPECT_TRUE(read("[window]\nfullscreen = on\n").fullscreen);
    EXPECT_TRUE(read("[window]\nfullscreen = 1\n").fullscreen);
    EXPECT_TRUE(read("[window]\nfullscreen = TRUE\n").fullscreen);
    EXPECT_FALSE(read("[window]\nfullscreen = 2\n").fullscreen);
    EXPECT_FALSE(read("[window]\nfullscreen = maybe\n").fullscreen);
}

TEST_F(SettingsFileTest, NamesAreMatchedWithoutCase) {
    const Settings settings =
        read("[WINDOW]\nWIDTH = 640\nHeight = 480\nSHADER_BRIGHTNESS = 0.5\nTitle = Run\n");
    EXPECT_EQ(640, settings.width);
    EXPECT_EQ(480, settings.height);
    EXPECT_FLOAT_EQ(0.5f, settings.shaderBrightness);
    EXPECT_EQ("Run", settings.title);
}

TEST_F(SettingsFileTest, TitleDropsBlanksAndInlineComments) {
    EXPECT_EQ("My Runner", read("[window]\ntitle =   My Runner   ; the window's name\n").title);
    EXPECT_EQ("Chronocell", read("[window]\nwidth = 640\n").title);
}

TEST_F(SettingsFileTest, BadLinesAreSkippedAndTheRestStillCounts) {
    const Settings settings = read("[window]\nwidth = 640\nthis line is junk\nheight = 480\n");
    EXPECT_EQ(640, settings.width);
    EXPECT_EQ(480, settings.height);
}

TEST_F(SettingsFileTest, SizesAndBrightnessTheWindowCannotTakeAreBroughtIntoRange) {
    EXPECT_EQ(800, read("[window]\nwidth = 0\n").width);
    EXPECT_EQ(600, read("[window]\nheight = -300\n").height);
    EXPECT_EQ(16384, read("[window]\nwidth = 1000000\n").width);
    EXPECT_FLOAT_EQ(1.0f, read("[window]\nshader_brightness = 7\n").shaderBrightness);
    EXPECT_FLOAT_EQ(0.0f, read("[window]\nshader_brightness = -2\n").shaderBrightness);
    EXPECT_FLOAT_EQ(0.3f, read("[window]\nshader_brightness = nan\n").shaderBrightness);
}

TEST_F(SettingsFileTest, AudioVolumeIsKeptWithinZeroAndOneAndSoundCanBeTurnedOff) {
    const struct {
        const char* text;
        float volume;
        bool enabled;
    } cases[] = {
        {"[window]\nvolume = 0.2\nenabled = no\n", 0.7f, true},
        {"[audio]\nvolume = 0.25\nenabled = off\n", 0.25f, false},
        {"[audio]\nvolume = 3\nenabled = 1\n", 1.0f, true},
        {"[audio]\nvolume = -1\n", 0.0f, true},
        {"[audio]\nvolume = inf\nenabled = maybe\n", 0.7f, true},
    };
    for (const auto& test : cases) {
        const Settings settings = read(test.text);
        EXPECT_FLOAT_EQ(test.volume, settings.volume) << test.text;
        EXPECT_EQ(test.enabled, settings.soundEnabled) << test.text;
    }
}

TEST(BrightnessStep, StaysWithinZeroAndOneAndLandsOnTheEnds) {
    float brightness = 0.3f;
    for (int press = 0; press < 3; ++press) {
        brightness = stepBrightness(brightness, -0.1f);
    }
    EXPECT_EQ(0.0f, brightness) << "three steps down from 0.3 reach zero, not a float remainder";
    EXPECT_EQ(0.0f, stepBrightness(brightness, -0.1f));

    brightness = 0.3f;
    for (int press = 0; press < 7; ++press) {
        brightness = stepBrightness(brightness, 0.1f);
    }
    EXPECT_EQ(1.0f, brightness);
    EXPECT_EQ(1.0f, stepBrightness(brightness, 0.1f));
    EXPECT_NEAR(0.4f, stepBrightness(0.3f, 0.1f), 1e-6f);
}

TEST(RefreshRateStep, StepsByTheKeyAndNeverOverflows) {
    EXPECT_EQ(70, stepRefreshRate(60, 10));
    EXPECT_EQ(50, stepRefreshRate(60, -10));
    EXPECT_EQ(0, stepRefreshRate(5, -10));
    EXPECT_EQ(1000, stepRefreshRate(2147483647, 10)) << "a huge setting must not wrap around";
    EXPECT_EQ(0, stepRefreshRate(-2147483647 - 1, -10));
}

// Catches a user file that replaces keys it does not set, one that is not read at all, and a
// damaged one that half applies or says nothing.
TEST_F(SettingsFileTest, TheUsersFileOverridesKeyByKey) {
    const std::string shipped = "[window]\nwidth = 1024\nheight = 700\nrefresh_rate = 75\n"
                                "fullscreen = false\nshader_brightness = 0.5\ntitle = Shipped\n"
                                "[audio]\nvolume = 0.4\nenabled = true\n";
    struct Case {
        const char* name;
        std::optional<std::string> user;
        bool reported;
        Settings expected;
    };
    const Settings base = read(shipped);
    Settings oneKey = base;
    oneKey.width = 640;
    Settings allKeys{1280, 720, 144, true, 0.9f, "Mine", 0.1f, false};
    const std::vector<Case> cases = {
        {"no user file", std::nullopt, false, base},
        {"one key", "[window]\nwidth = 640\n", false, oneKey},
        {"every key",
         "[WINDOW]\nwidth=1280\nheight=720\nrefresh_rate=144\nfullscreen=yes\n"
         "shader_brightness=0.9\ntitle=Mine\n[audio]\nvolume=0.1\nenabled=off\n",
         false, allKeys},
        {"an empty file", "", false, base},
        {"a value that is no number", "[window]\nwidth = wide\n", true, base},
        {"a damaged file", "[window]\nwidth = 640\nthis is not a setting\n", true, base},
        {"binary bytes",
         std::string("\x7f"
                     "ELF\x01\x02\x00\x00 garbage\n",
                     14),
         true, base},
    };
    const auto user = folder / "user.ini";
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(user);
        if (test.user) {
            std::ofstream(user, std::ios::binary) << *test.user;
        }
        Settings settings = base;
        std::ostringstream errors;
        overlayUserSettings(settings, user.string(), errors);
        expectSameSettings(settings, test.expected);
        const std::string said = errors.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), test.reported ? 1 : 0) << said;
        if (test.reported) {
            EXPECT_NE(said.find(user.string()), std::string::npos) << said;
        }
    }
}

// Catches the wrong folder, and an empty or relative XDG_CONFIG_HOME taken for a folder.
TEST(UserSettingsPath, FollowsTheBaseDirectoryRules) {
    struct Case {
        const char* configHome;
        const char* home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/tmp/conf", "/home/p", "/tmp/conf/chronocell/settings.ini"},
        {nullptr, "/home/p", "/home/p/.config/chronocell/settings.ini"},
        {"", "/home/p", "/home/p/.config/chronocell/settings.ini"},
        {"relative/conf", "/home/p", "/home/p/.config/chronocell/settings.ini"},
        {nullptr, nullptr, ""},
        {"", "", ""},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(userSettingsPath(test.configHome, test.home), test.expected)
            << (test.configHome ? test.configHome : "(unset)");
    }
}

// Catches a mistake that says nothing, or is named with the wrong file, line (inih's count of
// 199-character pieces, a byte order mark taken for a line), wording or value kept; a note that
// breaks over lines; a value that changes where only a note should appear; the player's file
// falling back to the defaults instead of the shipped values; and junk flooding the terminal.
TEST_F(SettingsFileTest, MistakesAreNamedWithTheirLineAndTheValueThatStands) {
    struct Case {
        const char* name;
        bool players; // read as the player's file over `shipped`, else as the shipped file
        std::string text;
        std::vector<std::string> said;
        std::function<void(Settings&)> change;
    };
    const Settings shipped{1024, 700, 75, true, 0.5f, "Shipped", 0.4f, false};
    const std::string longTitle(191, 'T');
    std::string junk = "[window]\n";
    std::vector<std::string> junkSaid;
    for (int line = 2; line < 23; ++line) {
        junk += "junk\n";
        if (junkSaid.size() < 20) {
            junkSaid.push_back("FILE:" + std::to_string(line) +
                               ": 'junk' is not a setting; ignored");
        }
    }
    junkSaid.push_back("FILE: 1 more mistake not named");
    const auto none = [](Settings&) {};
    const std::vector<Case> cases = {
        {"a misspelt key and a word for a number",
         false,
         "[window]\nwidht = 1024\nheight = abc\n",
         {"FILE:2: unknown key 'widht' in [window]; ignored",
          "FILE:3: height = abc is not a number; keeping 600"},
         none},
        {"the player's refused values keep the shipped ones",
         true,
         "[window]\nwidth = 0\nfullscreen = maybe\nheight = -0x10\n",
         {"FILE:2: width = 0 is not a size above 0; keeping 1024",
          "FILE:3: fullscreen = maybe is not true or false; keeping true",
          "FILE:4: height = -0x10 is not a size above 0; keeping 700"},
         none},
        {"numbers that are not finite and a word that is not a truth",
         false,
         "[Window]\nshader_brightness = nan\n[audio]\nvolume = inf\nenabled = sometimes\n",
         {"FILE:2: shader_brightness = nan is not a finite number; keeping 0.3",
          "FILE:4: volume = inf is not a finite number; keeping 0.7",
          "FILE:5: enabled = sometimes is not true or false; keeping true"},
         none},
        {"values brought into range say what is used",
         true,
         "[audio]\nvolume = loud\n[window]\nshader_brightness = 7.5\nwidth = 16385\n"
         "refresh_rate = fast\nheight = 16384\n",
         {"FILE:2: volume = loud is not a number; keeping 0.4",
          "FILE:4: shader_brightness = 7.5 is outside 0 to 1; using 1",
          "FILE:5: width = 16385 is larger than a window can be; using 16384",
          "FILE:6: refresh_rate = fast is not a number; keeping 75"},
         [](Settings& s) {
             s.shaderBrightness = 1.0f;
             s.width = 16384;
             s.height = 16384;
         }},
        {"the reading rules stand and say nothing",
         false,
         "[WINDOW]\nWidth = 640px\nheight = 0x400\nFullScreen = Yes\nshader_brightness = 0\n"
         "[audio]\nenabled = OFF\nvolume = 1\n",
         {},
         [](Settings& s) {
             s.width = 640;
             s.height = 1024;
             s.fullscreen = true;
             s.shaderBrightness = 0.0f;
             s.soundEnabled = false;
             s.volume = 1.0f;
         }},
        {"keys outside the sections the game reads",
         false,
         "width = 640\n[windows]\nheight = 480\n[audio]\nvolume = 0.5\n",
         {"FILE:1: unknown key 'width' before any section; ignored",
          "FILE:2: unknown section [windows]; its keys are ignored"},
         [](Settings& s) { s.volume = 0.5f; }},
        {"a key set twice takes the last",
         true,
         "[window]\nwidth = 640\n[audio]\n[window]\nWIDTH = 1280\n",
         {"FILE:2: width is set again on line 5; ignored"},
         [](Settings& s) { s.width = 1280; }},
        {"lines that are not settings, counted as the file's lines",
         false,
         "\xEF\xBB\xBF[window]\n; a comment\n\ntitle = " + longTitle +
             "TTTT\nthis line is junk\n"
             "height = 500\n",
         {"FILE:4: 'TTTT' is not a setting; ignored",
          "FILE:5: 'this line is junk' is not a setting; ignored"},
         [&](Settings& s) {
             s.title = longTitle;
             s.height = 500;
         }},
        {"control bytes are shown escaped; an indented line continues a value",
         false,
         "[window]\nfullscreen = \x1b[31mred\nwidth = 640\n  height = 480\ntitle = A\n  B\n",
         {"FILE:2: fullscreen = \\x1b[31mred is not true or false; keeping false",
          "FILE:4: indented line read as more of width's value; ignored"},
         [](Settings& s) {
             s.width = 640;
             s.title = "A\nB";
         }},
        {"a long value is cut short in its note",
         false,
         "[window]\nfullscreen = " + std::string(70, 'y') + "\n",
         {"FILE:2: fullscreen = " + std::string(60, 'y') +
          "... is not true or false; keeping false"},
         none},
        {"the player's file with a line that is not a setting is left out whole",
         true,
         "[window]\nwidth = 640\n;" + std::string(250, 'c') + "\nwidth = abc\n",
         {"cannot use FILE (line 3 is not a setting); the shipped settings stand"},
         none},
        {"a file of junk is cut short", false, junk, junkSaid, none},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << test.text;
        std::ostringstream errors;
        Settings expected = test.players ? shipped : Settings{};
        test.change(expected);
        Settings settings = shipped;
        if (test.players) {
            overlayUserSettings(settings, file.string(), errors);
        } else {
            settings = readSettings(file.string(), errors);
        }
        EXPECT_EQ(errors.str(), saidOf(test.said, file.string()));
        expectSameSettings(settings, expected);
    }
}

// Catches a player's file that cannot be read taken for a missing one, a reason that is not the
// system's, and a missing file that is named after all.
TEST_F(SettingsFileTest, APlayersFileThatCannotBeReadIsNamedWithTheReason) {
    std::ofstream(folder / "plain") << "[window]\nwidth = 640\n";
    std::filesystem::create_directories(folder / "settings.ini");
    const struct {
        std::filesystem::path path;
        std::string reason;
    } cases[] = {
        {folder / "settings.ini", "Is a directory"},
        {folder / "plain" / "settings.ini", "Not a directory"},
        {folder / "absent" / "settings.ini", ""},
    };
    for (const auto& test : cases) {
        Settings settings;
        std::ostringstream errors;
        overlayUserSettings(settings, test.path.string(), errors);
        EXPECT_EQ(errors.str(), test.reason.empty()
                                    ? ""
                                    : "chronocell: cannot use " + test.path.string() + " (" +
                                          test.reason + "); the shipped settings stand\n");
        EXPECT_EQ(settings.width, Settings::kDefaultWidth) << test.path;
    }
}

// Catches a note for the settings the game ships: started as shipped, it says nothing new.
TEST(ShippedSettings, SayNothing) {
    std::ostringstream errors;
    testing::internal::CaptureStdout();
    readSettings(std::string(CHRONOCELL_SOURCE_DIR) + "/assets/settings.ini", errors);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(errors.str(), "");
}
