#pragma once

#include "audio/PacedMixer.h"
#include "audio/web/WebAudioSink.h"

#include <iosfwd>
#include <memory>

// The game's sounds in a browser page: the project's own mixer, paced by the wall clock and
// handed to Web Audio. The page's loop pumps it through pumpLive(), since the mix is pushed from
// the game and never pulled by the browser.
class WebAudioOutput : public SoundOutput {
  public:
    // The output at `volume` (0 to 1), or none after one line on `errors` when the browser has
    // no Web Audio; the game then plays silently. One output is live at a time.
    static std::unique_ptr<WebAudioOutput> open(float volume, std::ostream& errors);
    ~WebAudioOutput() override;
    WebAudioOutput(const WebAudioOutput&) = delete;
    WebAudioOutput& operator=(const WebAudioOutput&) = delete;

    Sound load(const std::string& path, std::ostream& errors) override;
    void play(Sound sound) override;
    void loop(Sound sound) override;
    void stopLoop() override;
    void toggleMute() override;

    // Renders what is due of the live output's mix and hands it to the page; nothing when no
    // output is open. The loop calls it once a frame and between the slices of a freeze.
    static void pumpLive();

  private:
    explicit WebAudioOutput(float volume);

    // The output the loop pumps. The sound seam hands the output to GameSounds, out of the
    // loop's reach; the loop only needs to keep it fed.
    static WebAudioOutput* live_;

    WebAudioSink sink_;
    PacedMixer mixer_;
};
