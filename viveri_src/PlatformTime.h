// Time services of the platform layer: a monotonic high-resolution counter in
// microseconds, the wall clock split in whole seconds and microseconds, and a
// millisecond sleep.
#pragma once

#include <cstdint>

// Monotonic counter, microseconds since an arbitrary origin.
int64_t platformMicroseconds();

// Wall-clock time: whole seconds and the microseconds within that second.
void platformWallClock(int64_t &seconds, int64_t &microseconds);

// Sleeps at least this many milliseconds (0 or less returns at once).
void platformSleepMs(int milliseconds);
