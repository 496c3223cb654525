// Text that strangers wrote (message bodies, senders, values and error lines
// from modems) made safe to print on the operator's terminal.
#ifndef ZARVEX_PRINTABLE_TEXT_H
#define ZARVEX_PRINTABLE_TEXT_H

#include <string>

// Shows every byte that a terminal could take as a control in a visible form
// instead of emitting it: C0 controls other than tab and line feed, DEL, the
// C1 controls U+0080 to U+009F, and bytes that are not part of valid UTF-8
// (a raw 0x9B is CSI to an 8-bit terminal). "\r" is shown as \r, every other
// byte as \xNN. A carriage return that is the text's last character passes:
// it can only end the line, and modems leave one after some values.
// Printable text, Chinese included, comes back unchanged byte for byte.
std::string MakePrintableText(const std::string &text);

#endif
