#include "platform/ProgramSearch.h"
#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>
#include <set>

// Catches an argument that Microsoft's command-line split would give back otherwise: an empty
// one dropped, a space splitting it, a quote ending it, backslashes before a quote or at the end
// halved. The platform tests give each back through a real program as well.
TEST(WindowsCommandLine, QuotesOnlyWhatTheSplitWouldChange) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"},           {"", "\"\""},
        {"a b", "\"a b\""},           {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"c:\\dir\\", "c:\\dir\\"},   {"c:\\my dir\\", "\"c:\\my dir\\\\\""},
        {"x\\\"y", "\"x\\\\\\\"y\""}, {"tab\there", "\"tab\there\""},
    };
    for (const auto& [argument, quoted] : cases) {
        EXPECT_EQ(windowsCommandLine::quote(argument), quoted) << argument;
    }
    EXPECT_EQ(windowsCommandLine::join("C:\\a b\\ffmpeg.exe", {"-i", ""}),
              "\"C:\\a b\\ffmpeg.exe\" -i \"\"");
}

// Catches PATH split on the other system's separator, an empty entry not meaning the current
// folder, a later folder winning over an earlier one, ".exe" missing or added twice on Windows
// or added on POSIX, and a name with a folder looked up instead of taken as it is.
TEST(ProgramSearch, FindsTheFirstRunnableMatchByEachSystemsRules) {
    struct Case {
        const char* system;
        const ProgramSearchRules& rules;
        std::string name;
        const char* path;
        std::optional<std::string> found;
    };
    const std::set<std::string> runnable = {"/opt/b/ffmpeg",    "/usr/bin/ffmpeg", "./ffmpeg",
                                            "C:\\b/ffmpeg.exe", "./ffmpeg.exe",    "x/tool"};
    const auto& posix = programSearch::kPosixRules;
    const auto& windows = programSearch::kWindowsRules;
    const std::vector<Case> cases = {
        {"posix", posix, "ffmpeg", "/opt/a:/opt/b:/usr/bin", "/opt/b/ffmpeg"},
        {"posix", posix, "ffmpeg", "/opt/a::/usr/bin", "./ffmpeg"},
        {"posix", posix, "ffmpeg", nullptr, "/usr/bin/ffmpeg"},
        {"posix", posix, "ffmpeg", "C:\\b;/usr/bin", std::nullopt},
        {"posix", posix, "x/tool", "/opt/b", "x/tool"},
        {"posix", posix, "x/ffmpeg", "/opt/b", std::nullopt},
        {"windows", windows, "ffmpeg", "C:\\a;C:\\b;/usr/bin", "C:\\b/ffmpeg.exe"},
        {"windows", windows, "ffmpeg.exe", "C:\\a;C:\\b", "C:\\b/ffmpeg.exe"},
        {"windows", windows, "ffmpeg", "C:\\a;", "./ffmpeg.exe"},
        {"windows", windows, "C:\\b/ffmpeg", nullptr, "C:\\b/ffmpeg.exe"},
        {"windows", windows, "ffmpeg", "/opt/b:/usr/bin", std::nullopt},
    };
    const auto isRunnable = [&](const std::filesystem::path& path) {
        return runnable.count(path.string()) > 0;
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.system) + " " + test.name);
        const auto found = programSearch::find(test.name, test.path, test.rules, isRunnable);
        EXPECT_EQ(found ? std::optional<std::string>(found->string()) : std::nullopt, test.found);
    }
}
