// What the values that modems report look like, so that text of any other
// form (a line of another reply, a report, a cut line, noise) is never taken
// for one. Both builds' readers judge their values by these rules, and the
// device table shows a value only when it passed them.
#ifndef ZARVEX_REPLY_VALUES_H
#define ZARVEX_REPLY_VALUES_H

#include <string>

// A device serial number: one word of letters and digits, 8 to 32 of them:
// a 15-digit IMEI, a CDMA module's 8 hexadecimal digits (also written with
// "0x" before them), a module maker's own serial number.
bool IsSerialNumberText(const std::string &text);

// A SIM card number (ICCID): 19 or 20 decimal digits or hexadecimal letters
// (a card pads a 19-digit number to 20 with "F").
bool IsSmsCardNumberText(const std::string &text);

// A signal report: the received signal strength and the bit error rate, two
// numbers of one to three digits with a comma between them ("20,99").
bool IsSignalText(const std::string &text);

// A SIM card number as printed on the card. A card keeps its number with
// the two digits of every pair swapped, and some modules report it that
// way: 20 characters beginning with "98" are that stored order (a number as
// printed begins with "89", the telecommunications industry identifier of
// ISO/IEC 7812), and every pair is swapped back, hexadecimal letters
// included ("...F2" becomes "...2F"). Any other text comes back unchanged.
std::string IccidAsPrinted(const std::string &iccid);

#endif
