// What kind of failure a serial port recorded last, as a value, so that a
// flow can tell a vanished device from a port that never existed without
// reading the system's error text.
#ifndef ZARVEX_PORT_FAILURE_KIND_H
#define ZARVEX_PORT_FAILURE_KIND_H

enum class PortFailureKind {
    None,      // nothing failed since the port was (re)opened
    LineGone,  // the device went away or the line dropped while in use
    NotFound,  // no device of that name
    Other,     // anything else: busy, refused settings, a time-out
};

#endif
