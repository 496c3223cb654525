// A bound on one gathering of input, for a caller that knows how long the
// reply it waits for can be.
#ifndef ZARVEX_READ_BOUND_H
#define ZARVEX_READ_BOUND_H

#include <cstddef>

// Besides at a pause, the gathering ends once it has added maxBytes, or once
// maxMs have passed, even while input keeps arriving.
struct ReadBound {
    std::size_t maxBytes;
    int maxMs;
};

#endif
