// Text that strangers wrote (message bodies, senders, values and error lines
// from modems) made safe to print on the operator's terminal.
#ifndef ZARVEX_PRINTABLE_TEXT_H
#define ZARVEX_PRINTABLE_TEXT_H

#include <string>

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
// instead of emitting it: C0 controls other than tab and line feed, DEL, the
// C1 controls U+0080 to U+009F, and bytes that are not part of valid UTF-8
// (a raw 0x9B is CSI to an 8-bit terminal). "\r" is shown as \r, every other
// byte as \xNN. In a multi-line text a carriage return that is the text's
// last character passes: it can only end the line, and modems leave one
// after some values. The bidirectional embeddings, overrides and isolates
// (U+202A to U+202E, U+2066 to U+2069), which would make the text read in an
// order other than the one it holds, are shown as \uNNNN.
// Printable text, Chinese included, comes back unchanged byte for byte.
std::string MakePrintableText(const std::string &text,
                              PrintableLayout layout = PrintableLayout::MultiLine);

#endif
