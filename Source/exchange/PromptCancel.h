// What gives up a message body that a modem may still be waiting for.
#ifndef ZARVEX_PROMPT_CANCEL_H
#define ZARVEX_PROMPT_CANCEL_H

// A modem at its ">" prompt takes everything it hears as message text until
// ESC gives the message up (Ctrl-Z would send it). A run that ended at the
// prompt leaves it waiting, some modems for minutes, and the next run's
// commands would only lengthen a message nobody sends. A modem at no prompt
// ignores the ESC: it begins no command, and no reply to it is owed.
constexpr char kCancelMessageBody[] = "\x1b";

#endif
