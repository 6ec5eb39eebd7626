#include "audio/web/WebAudioOutput.h"

#include <emscripten.h>
#include <ostream>

namespace {

double wallSeconds() {
    constexpr double kMillisecondsPerSecond = 1000.0;
    return emscripten_get_now() / kMillisecondsPerSecond;
}

} // namespace

WebAudioOutput* WebAudioOutput::live_ = nullptr;

std::unique_ptr<WebAudioOutput> WebAudioOutput::open(float volume, std::ostream& errors) {
    if (!WebAudioSink::available()) {
        errors << "Sound is off: this browser has no Web Audio" << std::endl;
        return nullptr;
    }
    return std::unique_ptr<WebAudioOutput>(new WebAudioOutput(volume));
}

WebAudioOutput::WebAudioOutput(float volume) : mixer_(volume, sink_, wallSeconds()) {
    live_ = this;
}

WebAudioOutput::~WebAudioOutput() {
    if (live_ == this) {
        live_ = nullptr;
    }
}

WebAudioOutput::Sound WebAudioOutput::load(const std::string& path, std::ostream& errors) {
    return mixer_.load(path, errors);
}

void WebAudioOutput::play(Sound sound) {
    mixer_.play(sound);
}

void WebAudioOutput::loop(Sound sound) {
    mixer_.loop(sound);
}

void WebAudioOutput::stopLoop() {
    mixer_.stopLoop();
}

void WebAudioOutput::toggleMute() {
    mixer_.toggleMute();
}

void WebAudioOutput::pumpLive() {
    if (live_ != nullptr) {
        live_->mixer_.pump(wallSeconds());
    }
}
