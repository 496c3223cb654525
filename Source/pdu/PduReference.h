// The rolling reference number of concatenated messages, as a pure step so
// that seeding and wrapping can be checked at any clock value.
#ifndef ZARVEX_PDU_REFERENCE_H
#define ZARVEX_PDU_REFERENCE_H

#include <cstdint>

// The reference for the next message: on the first call (seeded false) the
// counter starts from the clock value modulo 255 and seeded becomes true;
// then it advances by one, 255 wrapping to 1. The result is 1 to 255, never 0.
int16_t AdvanceSplitIndex(int16_t current, bool &seeded, std::int64_t clock);

// The clock the counter is seeded from: seconds since 1970 on Linux, the
// system tick count (milliseconds since start-up) on Windows.
std::int64_t SplitIndexSeedClock();

#endif
