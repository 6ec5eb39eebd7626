#pragma once

// The cosine and sine of the relic walk, the same to the last bit on every build and machine:
// the values GNU libc gives on x86-64 with fused multiply-add, where the game's first recordings
// were made, computed by the game itself. The C library's own differ from those by one unit in
// the last place at some arguments: a few in GNU libc's code for CPUs without fused multiply-add
// (older x86-64, i386), about one in eighty in MinGW's; a walk that met one would replay as
// another game there.
float portableCos(float radians);
float portableSin(float radians);
