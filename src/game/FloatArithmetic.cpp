// Recorded games replay bit for bit only where every build rounds the rules' arithmetic alike.
// The build sets the flags (see CMakeLists.txt); these stop a build that lost them.
#if defined(__FAST_MATH__)
#error "the rules must not be built with -ffast-math: recordings would not replay"
#endif
#if (defined(__i386__) || defined(_M_IX86)) && !defined(__SSE2_MATH__)
#error "32-bit x86 builds of the rules need -msse2 -mfpmath=sse: x87 rounds differently"
#endif
