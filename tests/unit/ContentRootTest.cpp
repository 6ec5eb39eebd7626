#include "app/ContentRoot.h"

#include "render/AssetPath.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Folders with and without an assets folder, and a running binary inside a build folder.
class ContentRootTest : public testing::Test {
  protected:
    fs::path top = fs::temp_directory_path() / ("chronocell-root-" + std::to_string(::getpid()));
    fs::path source = top / "checkout";
    fs::path build = source / "build";
    fs::path installed = top / "prefix";
    fs::path bin = installed / "bin";
    fs::path content = installed / "share/games/chronocell";
    fs::path working = top / "home";
    // A binary copied out of any tree, with no content beside it.
    fs::path copied = top / "somewhere";

    void SetUp() override {
        for (const fs::path& folder :
             {source / "assets", build, bin, content / "assets", working, copied}) {
            fs::create_directories(folder);
        }
    }
    void TearDown() override {
        setContentRoot({});
        fs::remove_all(top);
    }

    ContentRootSearch search(const fs::path& executableFolder) const {
        ContentRootSearch search;
        search.workingDirectory = working;
        search.executableFolder = executableFolder;
        search.installedContentFromExecutable = "../share/games/chronocell";
        search.buildFolder = build;
        search.sourceFolder = source;
        return search;
    }
};

} // namespace

// Catches an installed game taken over by a stray assets/ in the folder it starts from, and a
// build-folder binary that stops preferring the checkout it is started in.
TEST_F(ContentRootTest, LooksInTheGivenOrderAndOnlyInTheSourceTreeFromItsBuildFolder) {
    ContentRootSearch withData = search(bin);
    withData.dataFolder = top / "mine";
    ContentRootSearch unlocated = search({});
    struct Case {
        const char* name;
        ContentRootSearch search;
        std::vector<fs::path> candidates;
    };
    const std::vector<Case> cases = {
        {"installed binary: its own content first", search(bin), {content, working}},
        {"a binary with no content beside it",
         search(copied),
         {working, copied / "../share/games/chronocell"}},
        {"binary in its build folder",
         search(build),
         {working, build / "../share/games/chronocell", source}},
        {"--data is the only place", withData, {top / "mine"}},
        {"binary not located", unlocated, {working}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<fs::path> candidates = contentRootCandidates(test.search);
        ASSERT_EQ(test.candidates.size(), candidates.size());
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            EXPECT_EQ(test.candidates[i].lexically_normal(), candidates[i].lexically_normal());
        }
    }
}

TEST_F(ContentRootTest, TakesTheFirstFolderThatHoldsAnAssetsFolder) {
    std::ofstream(working / "assets") << "a file, not a folder";
    EXPECT_EQ(content, chooseContentRoot({working, top, content, source}));
    EXPECT_EQ(source, chooseContentRoot({source, content}));
    EXPECT_EQ(std::nullopt, chooseContentRoot({working, top / "absent"}));
    EXPECT_EQ(std::nullopt, chooseContentRoot({}));
}

TEST_F(ContentRootTest, HandsTheChosenRootToThePathHelper) {
    struct Case {
        const char* name;
        fs::path executableFolder;
        bool workingHoldsAssets;
        std::optional<fs::path> dataFolder;
        std::string settingsPath;
    };
    // The working directory stays implicit so that every path and message reads as before.
    const std::vector<Case> cases = {
        {"working directory", copied, true, std::nullopt, "assets/settings.ini"},
        {"installed content over a working directory's", bin, true, std::nullopt,
         (content / "assets/settings.ini").string()},
        {"installed content", bin, false, std::nullopt, (content / "assets/settings.ini").string()},
        {"source tree", build, false, std::nullopt, (source / "assets/settings.ini").string()},
        {"--data naming the working directory", bin, true, working,
         (working / "assets/settings.ini").string()},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        fs::remove_all(working / "assets");
        if (test.workingHoldsAssets) {
            fs::create_directories(working / "assets");
        }
        ContentRootSearch chosen = search(test.executableFolder);
        chosen.dataFolder = test.dataFolder;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(useContentRoot(chosen));
        EXPECT_EQ("", testing::internal::GetCapturedStderr());
        EXPECT_EQ(fs::path(test.settingsPath).lexically_normal(),
                  fs::path(assetPath("assets/settings.ini")).lexically_normal());
    }
    EXPECT_EQ((working / "assets/shader/x.vert").string(), assetPath("assets\\shader\\x.vert"));
}

TEST_F(ContentRootTest, NoContentAnywhereIsOneLineNamingEveryFolderTried) {
    fs::remove_all(content);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(useContentRoot(search(bin)));
    EXPECT_EQ("chronocell: no game content (a folder holding assets/) in " + working.string() +
                  ", " + content.string() + "\n",
              testing::internal::GetCapturedStderr());
}
