#include "app/SettingsFile.h"
#include "platform/UserSettings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <utility>
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

// What the game says, each '@' standing for "chronocell: " and the file's path.
std::string saidOf(const std::string& lines, const std::string& path) {
    std::string said;
    for (const char c : lines) {
        said += c == '@' ? "chronocell: " + path : std::string(1, c);
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
        EXPECT_EQ(userSettings::xdgPath(test.configHome, test.home), test.expected)
            << (test.configHome ? test.configHome : "(unset)");
    }
}

// Catches the Windows file put in the wrong folder or with a forward slash, and an unset or empty
// APPDATA taken for a folder.
TEST(UserSettingsPath, WindowsKeepsItUnderAppData) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"C:\\Users\\p\\AppData\\Roaming",
         "C:\\Users\\p\\AppData\\Roaming\\Chronocell\\settings.ini"},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& [appData, expected] : cases) {
        EXPECT_EQ(userSettings::appDataPath(appData), expected) << (appData ? appData : "(unset)");
    }
}

// Catches a mistake unnamed or named with the wrong file, line (inih's 199-character pieces, a
// byte order mark taken for a line), order or value kept (the default where the shipped value
// stands); names and words matched with case; control bytes raw, long values uncut or cut
// elsewhere; accepted values changed or named; clamping at the wrong side of 16384 or unnamed; a
// key set twice unnamed or its first value winning; and junk cut one note early or late.
TEST_F(SettingsFileTest, MistakesAreNamedWithTheirLineAndTheValueThatStands) {
    struct Case {
        const char* name;
        bool players; // read as the player's file over `shipped`, else as the shipped file
        std::string text;
        std::string said; // each '@' stands for "chronocell: " and the file
        Settings expected;
    };
    const Settings shipped{1024, 700, 75, true, 0.5f, "Shipped", 0.4f, false};
    const std::string longTitle(191, 'T');
    std::string junk = "[window]\n", junkSaid;
    for (int line = 2; line <= 22; ++line) {
        junk += "junk\n";
        junkSaid += line < 22 ? "@:" + std::to_string(line) + ": 'junk' is not a setting; ignored\n"
                              : "@: 1 more mistake not named\n";
    }
    const std::vector<Case> cases = {
        {"refused values keep the defaults, shown escaped and cut short", false,
         "\xEF\xBB\xBF[Audio]\nvolume = inf\nenabled = sometimes\n[Window]\nwidht = 1024\n"
         "height = -0x10\nshader_brightness = nan\nfullscreen = \x1b[31m" +
             std::string(70, 'y'),
         "@:2: volume = inf is not a finite number; keeping 0.7\n"
         "@:3: enabled = sometimes is not true or false; keeping true\n"
         "@:5: unknown key 'widht' in [Window]; ignored\n"
         "@:6: height = -0x10 is not a size above 0; keeping 600\n"
         "@:7: shader_brightness = nan is not a finite number; keeping 0.3\n"
         "@:8: fullscreen = \\x1b[31m" +
             std::string(55, 'y') + "... is not true or false; keeping false\n",
         Settings{}},
        {"lines and keys the game does not read, in the file's order", false,
         "width = 640\n[windows]\nheight = 480\n[window]\n; a comment\n\ntitle = " + longTitle +
             "TTTT\nthis line is junk\nwidth = 640\n  height = 480\n",
         "@:1: unknown key 'width' before any section; ignored\n"
         "@:2: unknown section [windows]; its keys are ignored\n"
         "@:7: 'TTTT' is not a setting; ignored\n"
         "@:8: 'this line is junk' is not a setting; ignored\n"
         "@:10: indented line read as more of width's value; ignored\n",
         Settings{.width = 640, .title = longTitle}},
        {"the player's refused values keep the shipped ones; clamped ones say so",
         true,
         "[audio]\nvolume = loud\n[window]\nshader_brightness = 7.5\nwidth = 0\nheight = 16385\n"
         "refresh_rate = fast\nfullscreen = maybe\n",
         "@:2: volume = loud is not a number; keeping 0.4\n"
         "@:4: shader_brightness = 7.5 is outside 0 to 1; using 1\n"
         "@:5: width = 0 is not a size above 0; keeping 1024\n"
         "@:6: height = 16385 is larger than a window can be; using 16384\n"
         "@:7: refresh_rate = fast is not a number; keeping 75\n"
         "@:8: fullscreen = maybe is not true or false; keeping true\n",
         {1024, 16384, 75, true, 1.0f, "Shipped", 0.4f, false}},
        {"accepted values of any case stand; of a key set twice, the last",
         true,
         "[WINDOW]\nWidth = 640px\nheight = 0x4000\nFullScreen = No\nshader_brightness = 0\n"
         "[Audio]\nvolume = 0.2\nenabled = ON\n[window]\ntitle = A\n  B\n[audio]\nVOLUME = 1\n",
         "@:7: volume is set again on line 13; ignored\n",
         {640, 16384, 75, false, 0.0f, "A\nB", 1.0f, true}},
        {"a file of junk is cut short", false, junk, junkSaid, Settings{}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << test.text;
        std::ostringstream errors;
        Settings settings = shipped;
        if (test.players) {
            overlayUserSettings(settings, file.string(), errors);
        } else {
            settings = readSettings(file.string(), errors);
        }
        EXPECT_EQ(errors.str(), saidOf(test.said, file.string()));
        expectSameSettings(settings, test.expected);
    }
}

// Catches a player's file that cannot be used taken for a missing one or half applied, or named
// without the system's reason or with inih's count of 199-character pieces for its line.
TEST_F(SettingsFileTest, APlayersFileThatCannotBeUsedIsNamedWithTheReasonAndLeftOut) {
    std::ofstream(folder / "plain") << "[window]\nwidth = 640\n;" + std::string(250, 'c') + "\n";
    std::filesystem::create_directories(file);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {file, "Is a directory"},
        {folder / "plain" / "settings.ini", "Not a directory"},
        {folder / "plain", "line 3 is not a setting"},
    };
    for (const auto& [path, reason] : cases) {
        Settings settings;
        std::ostringstream errors;
        overlayUserSettings(settings, path.string(), errors);
        EXPECT_EQ(errors.str(), "chronocell: cannot use " + path.string() + " (" + reason +
                                    "); the shipped settings stand\n");
        EXPECT_EQ(settings.width, Settings::kDefaultWidth) << path;
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
