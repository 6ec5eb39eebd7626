#pragma once

// Heap allocations made through operator new since the program started. The benchmark replaces
// the global operator new to count them, so a steady frame can be checked for allocations.
unsigned long allocationCount();
