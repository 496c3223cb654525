// The multibyte encodings in which the program's console shows text. Each
// build names its own as kConsoleEncoding in PlatformText.h.
#ifndef ZARVEX_CONSOLE_ENCODING_H
#define ZARVEX_CONSOLE_ENCODING_H

enum class ConsoleEncoding {
    // The Linux build.
    Utf8,
    // Code page 936, the ANSI code page of a Chinese Windows system: the
    // Windows build.
    Gbk,
};

#endif
