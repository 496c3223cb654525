// Text in the console's encoding: UTF-8 in the Linux build, the ANSI code
// page (GBK on a Chinese system) in the Windows build. Each platform binds
// these in its own folder.
#ifndef ZARVEX_CONSOLE_TEXT_H
#define ZARVEX_CONSOLE_TEXT_H

#include <cstddef>
#include <string>

// The text as UTF-8, for places that take UTF-8 whatever the console shows
// (jsoncpp's values). The Linux console already writes UTF-8: its text comes
// back as it is.
std::string ConsoleTextToUtf8(const std::string &text);

// The longest prefix of the first `bytes` bytes of text, at most `room` bytes,
// that ends on a character boundary of the console encoding: what a copy into
// a fixed member may take.
std::size_t ConsoleTextPrefixLength(const char *text, std::size_t bytes, std::size_t room);

// Characters decoded from a message (code points) as console text: what the
// decoders write for texts and senders that arrive in the GSM alphabet.
// Linux: UTF-8, whatever the locale. Windows: the ANSI code page, converted
// as the UCS2 decoders convert, so a character that the code page lacks gets
// the same replacement as in a UCS2 message.
std::string CodePointsToConsoleText(const std::u32string &text);

#endif
