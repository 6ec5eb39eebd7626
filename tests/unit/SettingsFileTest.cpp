#include "app/SettingsFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

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
        return readSettings(file.string());
    }
};

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
        {"a value that is no number", "[window]\nwidth = wide\n", false, base},
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
        EXPECT_EQ(settings.width, test.expected.width);
        EXPECT_EQ(settings.height, test.expected.height);
        EXPECT_EQ(settings.refreshRate, test.expected.refreshRate);
        EXPECT_EQ(settings.fullscreen, test.expected.fullscreen);
        EXPECT_FLOAT_EQ(settings.shaderBrightness, test.expected.shaderBrightness);
        EXPECT_EQ(settings.title, test.expected.title);
        EXPECT_FLOAT_EQ(settings.volume, test.expected.volume);
        EXPECT_EQ(settings.soundEnabled, test.expected.soundEnabled);
        const std::string said = errors.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), test.reported ? 1 : 0) << said;
        if (test.reported) {
            EXPECT_NE(said.find(user.string()), std::string::npos) << said;
        }
    }
    std::ostringstream errors;
    Settings settings = base;
    overlayUserSettings(settings, folder.string(), errors);
    EXPECT_NE(errors.str().find("unreadable"), std::string::npos) << "a folder is no file";
    EXPECT_EQ(settings.width, base.width);
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
