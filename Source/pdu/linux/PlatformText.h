// The text rules in which the codec library of the Linux build differs from
// the Windows build's. Each platform folder of the library has a header of
// this name; the build picks one by its include path.
#ifndef ZARVEX_PLATFORM_TEXT_H
#define ZARVEX_PLATFORM_TEXT_H

#include "ConsoleEncoding.h"

// Modem replies are cut into lines at a line feed; the carriage return before
// it stays at the end of its line.
constexpr char kReplyLineSeparator[] = "\n";

// The console reads and writes UTF-8.
constexpr ConsoleEncoding kConsoleEncoding = ConsoleEncoding::Utf8;

#endif
