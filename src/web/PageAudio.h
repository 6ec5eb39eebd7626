#pragma once

// Hands the sound mixed since the last call to the browser; called once a frame and between the
// slices of a freeze.
void pumpPageAudio();
