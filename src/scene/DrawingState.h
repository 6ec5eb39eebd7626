#pragma once

// The drawing state every picture of the game assumes, set once a context is current: images
// loaded bottom row first, as OpenGL reads them; depth testing; back faces culled.
void setUpDrawingState();
