#include "video/TemporaryFile.h"
#include "video/PartialFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kVictimText = "the player's own file";

std::string contentsOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// TMPDIR set for one test and put back after it.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(const char* value) {
        const char* before = std::getenv("TMPDIR");
        if (before != nullptr) {
            before_ = before;
        }
        if (value == nullptr) {
            ::unsetenv("TMPDIR");
        } else {
            ::setenv("TMPDIR", value, 1);
        }
    }
    ~TemporaryFolder() {
        if (before_.has_value()) {
            ::setenv("TMPDIR", before_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  private:
    std::optional<std::string> before_;
};

class TemporaryFileTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder_);
        std::ofstream(victim_) << kVictimText;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The name a file of this process takes when `taken` names before it are in use.
    fs::path scratchName(int taken) const {
        return folder_ / ("chronocell-sound-" + std::to_string(::getpid()) + "-" +
                          std::to_string(taken) + ".pcm");
    }
    fs::path partialName(int taken) const {
        return folder_ /
               ("clip.part-" + std::to_string(::getpid()) + "-" + std::to_string(taken) + ".mp4");
    }

    const fs::path folder_ = fs::temp_directory_path() /
                             ("chronocell-temporary-file-test-" + std::to_string(::getpid()));
    const fs::path victim_ =
        fs::temp_directory_path() / ("chronocell-victim-" + std::to_string(::getpid()) + ".txt");
};

struct Planted {
    const char* what;
    std::function<void(const fs::path& at, const fs::path& victim)> plant;
};

const Planted kPlanted[] = {
    {"a symbolic link to another file",
     [](const fs::path& at, const fs::path& victim) { fs::create_symlink(victim, at); }},
    {"a dangling symbolic link",
     [](const fs::path& at, const fs::path& victim) {
         fs::create_symlink(victim.string() + ".not-there", at);
     }},
    {"a file", [](const fs::path& at, const fs::path&) { std::ofstream(at) << "someone's"; }},
    {"a folder", [](const fs::path& at, const fs::path&) { fs::create_directory(at); }},
};

} // namespace

// Catches a file made through a name planted beforehand (no O_EXCL: the export writes its sound
// into whatever the link points at), a taken name taken as a failure instead of passed over, a
// scratch file others can read, and one left behind when its owner goes. The encoder's partial
// file beside the video is held to the same.
TEST_F(TemporaryFileTest, NamesPlantedBeforehandAreNeverFollowedAndTheFileGoesWithItsOwner) {
    const TemporaryFolder tmpdir(folder_.c_str());
    for (const Planted& planted : kPlanted) {
        for (int taken : {1, 3}) {
            SCOPED_TRACE(std::string(planted.what) + " at " + std::to_string(taken) + " names");
            for (int name = 0; name < taken; ++name) {
                planted.plant(scratchName(name), victim_);
                planted.plant(partialName(name), victim_);
            }
            std::ostringstream errors;
            fs::path made;
            {
                std::optional<TemporaryFile> file =
                    TemporaryFile::create("chronocell-sound", ".pcm", errors);
                ASSERT_TRUE(file.has_value()) << errors.str();
                EXPECT_EQ(file->path(), scratchName(taken));
                ASSERT_TRUE(file->append("sound", 5));
                made = file->path();
                struct stat status {};
                ASSERT_EQ(::lstat(made.c_str(), &status), 0);
                EXPECT_TRUE(S_ISREG(status.st_mode));
                EXPECT_EQ(status.st_mode & 0777, 0600u) << "readable by its owner alone";
                EXPECT_EQ(contentsOf(made), "sound");

                std::optional<PartialFile> partial =
                    PartialFile::create(folder_ / "clip.mp4", errors);
                ASSERT_TRUE(partial.has_value()) << errors.str();
                EXPECT_EQ(partial->path(), partialName(taken));
            }
            EXPECT_FALSE(fs::exists(fs::symlink_status(made))) << "removed with its owner";
            EXPECT_FALSE(fs::exists(fs::symlink_status(partialName(taken))));
            EXPECT_EQ(contentsOf(victim_), kVictimText);
            for (int name = 0; name < taken; ++name) {
                EXPECT_TRUE(fs::exists(fs::symlink_status(scratchName(name))))
                    << "what someone else placed stays theirs";
            }
            EXPECT_EQ(errors.str(), "");
            for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
                fs::remove_all(entry.path());
            }
        }
    }
}

// Catches TMPDIR ignored, a relative TMPDIR taken against the working folder, and a folder
// that cannot take the file reported as success or without its reason.
TEST_F(TemporaryFileTest, LivesInTmpdirOrElseTmpAndSaysWhyWhenItCannot) {
    const struct {
        const char* tmpdir;
        fs::path expected;
    } folders[] = {
        {nullptr, "/tmp"},
        {"", "/tmp"},
        {"relative/folder", "/tmp"},
        {folder_.c_str(), folder_},
    };
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder.tmpdir == nullptr ? "unset" : folder.tmpdir);
        const TemporaryFolder tmpdir(folder.tmpdir);
        EXPECT_EQ(TemporaryFile::folder(), folder.expected);
        std::ostringstream errors;
        const std::optional<TemporaryFile> file = TemporaryFile::create("chronocell-t", "", errors);
        ASSERT_TRUE(file.has_value()) << errors.str();
        EXPECT_EQ(file->path().parent_path(), folder.expected);
    }

    const fs::path missing = folder_ / "missing";
    const TemporaryFolder tmpdir(missing.c_str());
    std::ostringstream errors;
    EXPECT_FALSE(TemporaryFile::create("chronocell-t", "", errors).has_value());
    EXPECT_EQ(errors.str(), "chronocell: cannot export a video: cannot make a scratch file in \"" +
                                missing.string() + "\": No such file or directory\n");
}
