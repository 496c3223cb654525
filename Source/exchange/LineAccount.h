// What a line's conversation carries from one command to the next. Every
// command a modem is sent is answered by exactly one final result (a CDMA
// module's send report counts as one); one that ended before its final
// result came is still owed it, and the next final result on the line
// belongs to it, not to the command written after it.
#ifndef ZARVEX_LINE_ACCOUNT_H
#define ZARVEX_LINE_ACCOUNT_H

#include <string>

struct LineAccount {
    // Commands still waiting for their final result, oldest first.
    int owedFinals = 0;
    // When the newest of them stops being waited for, on the clock of the
    // commands (milliseconds): a final result later than that will not come.
    long long owedUntilMs = 0;
    // The start of a line still arriving when the last command ended: it
    // belongs to what came before the next command, never to its reply.
    std::string unfinishedLine;
    // A final result has come on this line: a modem answers behind it.
    bool answered = false;
    // The last command ended with no verdict within its budget.
    bool lastUnanswered = false;
    // The last command's reply outgrew its bound: the line sends without end.
    bool overflowing = false;
    // A final result came that no command was waiting for or owed: the modem
    // answered some command twice. Such an extra answer is seen only when it
    // comes between commands; one that came while a command was waiting was
    // taken for that command's, and every reply after it may answer the
    // command before its own.
    bool strayFinal = false;
};

#endif
