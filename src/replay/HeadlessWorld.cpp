#include "replay/HeadlessWorld.h"

#include "replay/RecordingFormat.h"

HeadlessWorld::HeadlessWorld(const RecordingHeader& header, const Settings& settings) {
    context_->settings = settings;
    applyRecordedSettings(header, context_->settings);
    context_->links.playerParticles = &playerParticles_;
    context_->links.clockParticles = &clockParticles_;
}

HeadlessWorld::~HeadlessWorld() {
    context_->unlinkResources();
}
