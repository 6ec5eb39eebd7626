#pragma once

// Seconds since the kernel started this process (10 ms resolution), or -1 when unknown.
double secondsSinceProcessStart();

// Peak and current resident memory of this process in kibibytes, or -1 when unknown.
long peakResidentKib();
long residentKib();

// CPU time this thread has used, in milliseconds. The GL driver rasterises on its own threads,
// so for a frame this is the cost of the game's code and of handing the draws to the driver.
double threadCpuMilliseconds();
