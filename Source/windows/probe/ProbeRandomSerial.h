// The serial number that the probe stores in a module that has none.
#ifndef ZARVEX_PROBE_RANDOM_SERIAL_H
#define ZARVEX_PROBE_RANDOM_SERIAL_H

#include <string>

// Fifteen decimal digits drawn from a generator of the calling thread's own,
// seeded from the system's entropy, the clock and the thread, so that modems
// provisioned at the same moment by different probe threads (or programs)
// get different numbers.
std::string MakeRandomSerial();

#endif
