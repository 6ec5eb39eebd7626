#include "export/VideoPlanning.h"
#include "RecordingRun.h"
#include "ScratchFile.h"
#include "app/CommandLine.h"
#include "app/VideoExport.h"
#include "game/KeyCodes.h"
#include "replay/RecordingEncoder.h"
#include "replay/RecordingReader.h"
#include "video/TemporaryFile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

// The first run of a video export on a real recording of a scripted game: the sound track's
// sounds where the recording has them, and a recording that departs from its record refused
// before any file is made.

namespace {

constexpr int kFps = 60;
const PassCommand kEnter = PassCommand::keyReleased(keys::kEnter);
const PassCommand kMute = PassCommand::keyReleased(keys::kM);

// Pass 1 starts the game (its clock reads 0), so pass n is shown (n - 1) / 60 s into the game.
constexpr int kFirstJumpPass = 31;
constexpr int kMutePass = 61;
constexpr int kMutedJumpPass = 91;
// The game is lost to a stone 1.93 s in; the script ends before.
constexpr int kPasses = 110;

double secondsOfPass(int pass) {
    return (pass - 1) * kFrame;
}

// Records the scripted game: Space held for the two jumps, M between them.
void recordGame(const std::filesystem::path& path) {
    std::vector<ScriptPass> commands(kPasses);
    std::vector<HeldKeys> held(kPasses);
    commands[0] = {kEnter};
    commands[kMutePass - 1] = {kMute};
    held[kFirstJumpPass - 1].space = true;
    held[kMutedJumpPass - 1].space = true;
    RecordingRun run(path, Settings{}, std::move(commands), std::move(held));
    for (int i = 0; i < kPasses; ++i) {
        run.playPass();
    }
    run.finish();
}

// The level of the mixed track over [from, to) seconds, as the mean square of its samples.
double power(const std::vector<std::int16_t>& track, double from, double to) {
    const auto first = static_cast<std::size_t>(from * 44100) * 2;
    const auto last = std::min(track.size(), static_cast<std::size_t>(to * 44100) * 2);
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        sum += static_cast<double>(track[i]) * track[i];
    }
    return last > first ? sum / static_cast<double>(last - first) : 0.0;
}

std::vector<std::int16_t> readTrack(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::int16_t> samples(std::filesystem::file_size(path) / 2);
    file.read(reinterpret_cast<char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
    return samples;
}

class VideoPlanningTest : public testing::Test {
  protected:
    void SetUp() override { recordGame(recording_); }
    void TearDown() override {
        for (const auto& path : {recording_, edited_, video_}) {
            std::filesystem::remove(path);
        }
    }

    const std::filesystem::path recording_ = scratchFile("chronocell_video_plan.ccr");
    const std::filesystem::path edited_ = scratchFile("chronocell_video_plan_edited.ccr");
    const std::filesystem::path video_ = scratchFile("chronocell_video_plan.mp4");
};

} // namespace

// Catches sounds mixed at the time they were planned rather than shown (the pass before, the
// pass's first clock read), a jump that is not heard, a mute that is not followed, and a meadow
// that does not start with the game.
TEST_F(VideoPlanningTest, TheSoundTrackHasEachSoundAtItsPassesTimeAndSilenceAfterAMute) {
    PlannedVideo video(kFps);
    std::ostringstream errors;
    ASSERT_EQ(planVideo(recording_.string(), Settings{}, video, errors), ExportOutcome::Done)
        << errors.str();
    EXPECT_EQ(video.frames.frameCount(), static_cast<std::uint64_t>(kPasses) + 1)
        << "a frame for every pass and the last held";
    std::optional<TemporaryFile> file = TemporaryFile::create("chronocell-plan", ".pcm", errors);
    ASSERT_TRUE(file.has_value()) << errors.str();
    ASSERT_TRUE(video.sound->write(*file, video.frames.durationSeconds(), errors));
    const std::vector<std::int16_t> track = readTrack(file->path());
    ASSERT_EQ(track.size(),
              static_cast<std::size_t>(std::lround(video.frames.durationSeconds() * 44100)) * 2);

    const double jump = secondsOfPass(kFirstJumpPass);
    const double meadow = power(track, jump - 0.1, jump - 0.01);
    EXPECT_GT(meadow, 0.0) << "the meadow plays under the game from its start";
    EXPECT_EQ(power(track, 0.0, 1.0 / 44100), 0.0) << "the meadow fades in from silence";
    // The jump starts within a frame of its pass's time, well above the meadow.
    EXPECT_GT(power(track, jump, jump + kFrame), 8.0 * meadow);
    EXPECT_LT(power(track, jump - 2 * kFrame, jump - kFrame), 2.0 * meadow);
    const double muted = secondsOfPass(kMutePass) + kFrame;
    EXPECT_GT(power(track, muted - 0.2, muted - kFrame), 0.0);
    EXPECT_EQ(power(track, muted, video.frames.durationSeconds()), 0.0)
        << "the second jump, after M, is silent, as is the meadow";
}

// Catches an export that goes on drawing (and writing) a recording that departs from its record.
TEST_F(VideoPlanningTest, ADepartingRecordingIsRefusedBeforeAnyFileIsMade) {
    RecordingHeader header;
    std::string problem;
    RecordingReader reader(*loadRecordingFile(recording_.string(), problem));
    ASSERT_TRUE(reader.readHeader(header));
    std::vector<std::uint8_t> bytes;
    RecordingEncoder encoder(bytes);
    encoder.writeHeader(header);
    RecordedPass pass;
    for (int number = 1; reader.next(pass) == RecordingReader::Next::Pass; ++number) {
        if (number == 1) {
            // The game's start, where the recorded random generator no longer stands.
            ASSERT_TRUE(pass.checkpoint.has_value());
            pass.checkpoint->randomState ^= 1;
        }
        encoder.writePass(pass);
    }
    encoder.writeClosing();
    std::ofstream(edited_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    PlannedVideo video(kFps);
    std::ostringstream errors;
    EXPECT_EQ(planVideo(edited_.string(), Settings{}, video, errors), ExportOutcome::Diverged);
    EXPECT_NE(errors.str().find("replay diverged at frame 1 "), std::string::npos) << errors.str();

    CommandLine commandLine =
        parseCommandLine({"--replay", edited_.string(), "--video", video_.string()});
    ASSERT_EQ(commandLine.request, CommandLine::Request::Play);
    testing::internal::CaptureStderr();
    EXPECT_EQ(exportVideo(commandLine, Settings{}, std::cerr), 3);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("replay diverged at frame 1 "),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(video_));
}
