#include "web/PageAudio.h"

#include "audio/web/WebAudioOutput.h"

void pumpPageAudio() {
    WebAudioOutput::pumpLive();
}
