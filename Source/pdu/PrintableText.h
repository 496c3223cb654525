// Text that strangers wrote (message bodies, senders, values and error lines
// from modems) made safe to print on the operator's terminal.
#ifndef ZARVEX_PRINTABLE_TEXT_H
#define ZARVEX_PRINTABLE_TEXT_H

#include <string>

#include "ConsoleEncoding.h"

// Where the shown text goes, which decides what its line ends may do.
enum class PrintableLayout {
    // A text of its own lines, such as a message body: a line feed stays a
    // line break.
    MultiLine,
    // A value inside one line of output: a table cell, a failure reason, a
    // sender. Line feeds and carriage returns are shown as \n and \r, so the
    // value can neither break its line nor forge another one.
    SingleLine,
};

// Shows every byte that a terminal could take as a control in a visible form
// instead of emitting it: C0 controls other than tab and line feed, DEL, and
// bytes that are no character of the console's encoding. "\r" is shown as
// \r, every other byte as \xNN. In a multi-line text a carriage return that
// is the text's last character passes: it can only end the line, and modems
// leave one after some values. Printable text, Chinese included, comes back
// unchanged byte for byte.
//
// In UTF-8 the C1 controls U+0080 to U+009F are shown as \xNN too, as is any
// byte outside well-formed UTF-8 (a raw 0x9B is CSI to an 8-bit terminal).
// The bidirectional embeddings, overrides and isolates (U+202A to U+202E,
// U+2066 to U+2069), which would make the text read in an order other than
// the one it holds, are shown as \uNNNN.
//
// In GBK (code page 936) a character is one byte below 0x80, or a lead byte
// 0x81 to 0xFE followed by a trail byte 0x40 to 0xFE other than 0x7F; any
// other byte is shown as \xNN. The code page holds neither C1 controls nor
// direction controls, so every such pair is printable.
std::string MakePrintableText(const std::string &text,
                              PrintableLayout layout = PrintableLayout::MultiLine);

// The same for a text in the given encoding; MakePrintableText reads the
// console's.
std::string MakePrintableTextIn(ConsoleEncoding encoding, const std::string &text,
                                PrintableLayout layout = PrintableLayout::MultiLine);

#endif
