#include "video/TemporaryFile.h"
#include "video/PartialFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// TMPDIR as one test wants it, put back after it.
class TmpdirFor {
  public:
    explicit TmpdirFor(const char* value) {
        if (const char* before = std::getenv("TMPDIR")) {
            before_ = before;
        }
        value == nullptr ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", value, 1);
    }
    ~TmpdirFor() { before_ ? ::setenv("TMPDIR", before_->c_str(), 1) : ::unsetenv("TMPDIR"); }
    TmpdirFor(const TmpdirFor&) = delete;
    TmpdirFor& operator=(const TmpdirFor&) = delete;

  private:
    std::optional<std::string> before_;
};

std::string numbered(const std::string& stem, int taken, const std::string& extension) {
    return stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(taken) + extension;
}

} // namespace

// Catches a file made through a name planted beforehand (without O_EXCL the export writes its
// sound through the link, or creates the file a dangling link points at), a taken name taken as
// a failure instead of passed over, a scratch file others can read, and one left behind when its
// owner goes. The encoder's partial file beside the video is held to the same.
TEST(TemporaryFile, NamesPlantedBeforehandAreNeverFollowedAndTheFileGoesWithItsOwner) {
    const fs::path folder = fs::temp_directory_path() / numbered("chronocell-planted", 0, "");
    const fs::path victim = folder.string() + "-victim";
    for (const bool dangling : {false, true}) {
        SCOPED_TRACE(dangling ? "dangling links" : "links to the player's file");
        fs::create_directories(folder);
        fs::remove(victim);
        if (!dangling) {
            std::ofstream(victim) << "the player's own";
        }
        for (int taken = 0; taken < 2; ++taken) {
            fs::create_symlink(victim, folder / numbered("chronocell-sound", taken, ".pcm"));
            fs::create_symlink(victim, folder / numbered("clip.part", taken, ".mp4"));
        }
        const TmpdirFor tmpdir(folder.c_str());
        std::ostringstream errors;
        fs::path made;
        {
            std::optional<TemporaryFile> file =
                TemporaryFile::create("chronocell-sound", ".pcm", errors);
            std::optional<PartialFile> partial = PartialFile::create(folder / "clip.mp4", errors);
            ASSERT_TRUE(file && partial) << errors.str();
            made = file->path();
            EXPECT_EQ(made, folder / numbered("chronocell-sound", 2, ".pcm"));
            EXPECT_EQ(partial->path(), folder / numbered("clip.part", 2, ".mp4"));
            ASSERT_TRUE(file->append("sound", 5));
            struct stat status {};
            ASSERT_EQ(::lstat(made.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, 0600u) << "readable by its owner alone";
            EXPECT_EQ(contentsOf(made), "sound");
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(made))) << "removed with its owner";
        EXPECT_TRUE(dangling ? !fs::exists(victim) : contentsOf(victim) == "the player's own");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4)
            << "what someone else placed stays theirs, and nothing of ours stays";
        EXPECT_EQ(errors.str(), "");
        fs::remove_all(folder);
    }
    fs::remove(victim);
}

// Catches TMPDIR ignored, a relative TMPDIR taken against the working folder, and a folder
// that cannot take the file reported as success or without its reason.
TEST(TemporaryFile, LivesInTmpdirOrElseTmpAndSaysWhyWhenItCannot) {
    const fs::path own = fs::temp_directory_path();
    const std::pair<const char*, fs::path> folders[] = {
        {nullptr, "/tmp"}, {"", "/tmp"}, {"relative/folder", "/tmp"}, {own.c_str(), own}};
    for (const auto& [tmpdir, expected] : folders) {
        SCOPED_TRACE(tmpdir == nullptr ? "unset" : tmpdir);
        const TmpdirFor scoped(tmpdir);
        std::ostringstream errors;
        const std::optional<TemporaryFile> file = TemporaryFile::create("chronocell-t", "", errors);
        ASSERT_TRUE(file.has_value()) << errors.str();
        EXPECT_EQ(file->path().parent_path(), expected);
    }
    const fs::path missing = own / numbered("chronocell-missing", 0, "");
    const TmpdirFor scoped(missing.c_str());
    std::ostringstream errors;
    EXPECT_FALSE(TemporaryFile::create("chronocell-t", "", errors).has_value());
    EXPECT_EQ(errors.str(), "chronocell: cannot export a video: cannot make a scratch file in \"" +
                                missing.string() + "\": No such file or directory\n");
}
