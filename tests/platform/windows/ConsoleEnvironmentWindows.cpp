#include "ConsoleEnvironment.h"

// The ANSI code page belongs to the system (936 under Wine with a Chinese
// LANG); a process cannot pin another one.
ConsoleEnvironment::ConsoleEnvironment() = default;

ConsoleEnvironment::~ConsoleEnvironment() = default;
