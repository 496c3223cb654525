// The text rules in which the codec library of the Windows build differs from
// the Linux build's. Each platform folder of the library has a header of this
// name; the build picks one by its include path.
#ifndef ZARVEX_PLATFORM_TEXT_H
#define ZARVEX_PLATFORM_TEXT_H

#include "ConsoleEncoding.h"

// Modem replies are cut into lines at carriage return and line feed: lines
// never keep a "\r", and a bare "\n" does not end a line.
constexpr char kReplyLineSeparator[] = "\r\n";

// The console shows the ANSI code page, which the program's texts are built
// in: GBK on the Chinese systems it is made for.
constexpr ConsoleEncoding kConsoleEncoding = ConsoleEncoding::Gbk;

#endif
