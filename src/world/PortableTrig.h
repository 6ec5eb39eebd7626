#pragma once

// The cosine and sine of the relic walk, the same to the last bit on every build and machine.
// The C library's own differ by one unit in the last place at a few arguments between the code
// it runs on CPUs with fused multiply-add (x86-64 since about 2013, arm64) and the code it runs
// on others (older x86-64, i386); a walk that met one would replay as another game there.
float portableCos(float radians);
float portableSin(float radians);
