// Small constants in which the Linux build differs from the Windows build.
// Each platform folder has a header of this name; the build picks one by its
// include path.
#ifndef ZARVEX_PLATFORM_CONSTANTS_H
#define ZARVEX_PLATFORM_CONSTANTS_H

#include "ConsoleEncoding.h"

// Modem replies are cut into lines at a line feed; the carriage return before
// it stays at the end of its line.
constexpr char kReplyLineSeparator[] = "\n";

// ---- Console texts -----------------------------------------------------
// The console reads and writes UTF-8.
constexpr ConsoleEncoding kConsoleEncoding = ConsoleEncoding::Utf8;

#endif
