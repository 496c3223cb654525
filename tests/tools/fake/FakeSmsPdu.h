// Builds the PDUs a modem keeps in its message stores (3GPP TS 23.040):
// SMS-DELIVER for received messages, SMS-SUBMIT for stored outgoing ones,
// single or one part of a concatenated message, UCS2 or GSM 7-bit. Written
// independently of the program's codec so that the two check each other.
#ifndef ZARVEX_FAKE_SMS_PDU_H
#define ZARVEX_FAKE_SMS_PDU_H

#include <string>

#include "FakeConfig.h"

// UTF-8 to UCS2 octets (big-endian). Characters beyond U+FFFF and malformed
// bytes become U+FFFD: a stored message is never silently shortened.
std::string Utf8ToUcs2(const std::string &utf8);
// UCS2 octets to UTF-8; an odd last octet is ignored.
std::string Ucs2ToUtf8(const std::string &ucs2);

std::string HexEncode(const std::string &bytes);
// false for an odd length or a character that is not a hex digit.
bool HexDecode(const std::string &hex, std::string *bytes);

// The address field digits in semi-octet order with 'F' fill; a leading
// '+' gives type of address 91, otherwise 81.
std::string EncodeAddressDigits(const std::string &number);

// SMS-centre information, address and TPDU of a stored message: SMS-DELIVER
// for stat 0 and 1, SMS-SUBMIT for 2 and 3. `smsc` may be empty ("00").
std::string BuildStoredPdu(const StoredMessage &message, const std::string &smsc);

// TPDU octets of a PDU whose first octet is the SMS-centre length, as the
// +CMGL/+CMGR <length> and the AT+CMGS=<n> count them; -1 when the text is
// not hex or shorter than its SMS-centre field.
int TpduOctets(const std::string &pduHex);

#endif
