#pragma once

// Seconds since the kernel started this process (10 ms resolution), or -1 when unknown.
double secondsSinceProcessStart();

// Peak and current resident memory of this process in kibibytes, or -1 when unknown.
long peakResidentKib();
long residentKib();
