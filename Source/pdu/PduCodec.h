// The SMS codec: message texts to SMS-SUBMIT PDUs (3GPP TS 23.040, PDU mode
// of TS 27.005), received and stored PDUs back to number, time stamp and text,
// and the conversions between the platform's multibyte text and UCS2.
//
// PDU text is hexadecimal, two characters per octet, high digit first; the
// encoders write upper case. The free functions keep no state (except the
// concatenation reference of gsmLongSmsPdu), allocate no caller memory, report
// no errors and write into buffers that the caller owns and sizes as stated on
// each declaration. Counts are ints; a negative count is treated as 0.
//
// Everything a decoder reads may come from any SMS sender: the decoders are
// bounded by the terminator of the PDU text and by the size of every member,
// whatever lengths the PDU announces.
#ifndef ZARVEX_PDU_CODEC_H
#define ZARVEX_PDU_CODEC_H

#include <cstdint>
#include <string>
#include <vector>

// Member sizes of SM_PARAM, terminator included.
constexpr int SM_SMS_CENTER_SIZE = 16;   // 15 digits
constexpr int SM_PEER_NUMBER_SIZE = 32;  // 31 digits, or a sender's name
constexpr int SM_TIME_STAMP_SIZE = 18;   // YYMMDDhhmmsszz
// The most bytes of console text one septet of a GSM 7-bit text decodes to:
// every character of the default alphabet is at most U+03A9, two bytes of
// UTF-8 or of a double-byte code page; the extension table's euro sign takes
// three bytes of UTF-8 for its two septets.
constexpr int GSM_7BIT_TEXT_BYTES_PER_SEPTET = 2;
// The septets a UDL of 255 septets is read as: its 224 octets, fill bits and
// all.
constexpr int SM_USER_DATA_MAX_SEPTETS = 256;
// The longest text one PDU can carry: 256 septets of two bytes each. (A UDL of
// 255 octets is 127 UCS2 characters, at most 381 bytes of UTF-8; 8-bit data
// is 255 bytes.)
constexpr int SM_USER_TEXT_SIZE = GSM_7BIT_TEXT_BYTES_PER_SEPTET * SM_USER_DATA_MAX_SEPTETS + 1;
constexpr int SM_PUSH_URL_SIZE = 129;   // 128 characters and the URL's 0 octet
constexpr int SM_PART_HEX_SIZE = 536;   // (255 - 6) octets of part data as hex
// What gsmEncodePduNew reads from userText: one message's text, in bytes.
constexpr int SM_SUBMIT_TEXT_MAX = 160;

// Room that GetSubmitPdu and the offered GetPushSubmitPdu need for the longest
// numbers the record holds (15-digit centre, 31-digit destination),
// terminator included.
constexpr int SM_SUBMIT_HEAD_SIZE = 67;

// gsmDecode7bit reads at most this many octets, which hold this many septets.
constexpr int GSM_7BIT_MAX_SEPTETS = 512;
constexpr int GSM_7BIT_MAX_OCTETS = 448;

// TP-DCS values the codec acts on.
constexpr unsigned char GSM_DCS_7BIT = 0x00;
constexpr unsigned char GSM_DCS_8BIT = 0x04;
constexpr unsigned char GSM_DCS_UCS2 = 0x08;
constexpr unsigned char GSM_DCS_PUSH = 0xF5;

// How a received message's user data is written, as its TP-DCS tells it.
enum class SmsAlphabet {
    Gsm7Bit,     // septets of the GSM default alphabet
    EightBit,    // octets of data, no text
    Ucs2,        // UTF-16 units, high octet first
    Compressed,  // compressed text, which the codec cannot expand
};

// The alphabet of a TP-DCS by its coding group (3GPP TS 23.038 4): the
// general data coding and automatic-deletion groups (00xx, 01xx) by their
// compression bit and alphabet bits, with or without a message class; the
// message waiting groups 1100 and 1101 as 7-bit, 1110 as UCS2; the
// data coding/message class group 1111 as 8-bit or 7-bit by its bit 2. The
// message class never changes the alphabet. Reserved codings (alphabet bits
// 11, groups 1000 to 1011) are read as UCS2, as every unknown coding has
// always been.
SmsAlphabet gsmDataCodingAlphabet(unsigned char dataCoding);

// The PDU parameter record. Plain data, copied byte for byte: callers
// zero-fill it before encoding (then set the members they need) and before
// every decode (the decoders write only the members of their path).
struct SM_PARAM {
    int16_t partNumber;       // SS of a concatenation header, 1-based
    int16_t partTotal;        // TT, as the UCS2 branch of the decoder reads it
    int32_t validityMinutes;  // GetSubmitPdu's validity period; 0 = 24 hours
    char smsCenter[SM_SMS_CENTER_SIZE];
    char peerNumber[SM_PEER_NUMBER_SIZE];  // destination or originator
    unsigned char protocolId;              // TP-PID
    unsigned char dataCoding;              // TP-DCS
    char timeStamp[SM_TIME_STAMP_SIZE];    // SCTS digits in reading order
    char *longText;                        // caller-owned text for gsmLongSmsPdu
    char userText[SM_USER_TEXT_SIZE];      // text to send, or decoded text
    char pushUrl[SM_PUSH_URL_SIZE];
    unsigned char concatRef;  // RR, as the UCS2 branch of the decoder reads it
                              // (the low octet of a 16-bit reference)
    bool noCountryCode;       // destination type of address 81/A1 instead of 91
    bool flash;               // class 0 message (GetSubmitPdu)
    char partHex[SM_PART_HEX_SIZE];  // a long part's user data after its header
    int32_t partHexLength;           // characters in partHex
    bool isLongPart;
    uint16_t groupRef;   // the reference, 8-bit or 16-bit, as the long-part test reads it
    int16_t groupTotal;  // TT, as the long-part test reads it
};

// ---- Coding primitives ---------------------------------------------------

// Hex text to octets: reads the character pairs starting at 0, 2, ... below
// count and writes one octet per pair. An odd count reads the character at
// index count as the low digit of a last octet (a terminator there is
// converted like any other character), so pSrc must hold count + 1
// characters then; (count + 1) / 2 octets are written. '0'-'9' are digits,
// any other character counts as its code minus 55 ('A'-'F' give 10-15), the
// octet cut to 8 bits: non-hex text gives meaningless octets, never an error.
// Returns count / 2.
int gsmString2Bytes(const char *pSrc, unsigned char *pDst, int nSrcLength);

// Octets to upper-case hex text; writes 2 * count characters and a
// terminator. Returns 2 * count.
int gsmBytes2String(const unsigned char *pSrc, char *pDst, int nSrcLength);

// Packs count characters as septets (no alphabet mapping; a character of value
// 128 or more is sent as '?'). Writes and returns ceil(7 * count / 8) octets.
int gsmEncode7bit(const char *pSrc, unsigned char *pDst, int nSrcLength);

// Unpacks count octets (at most GSM_7BIT_MAX_OCTETS are read; more are
// ignored) into their count + count / 7 septets and writes the characters of
// the GSM default alphabet they stand for in the console's encoding, then a
// terminator. An escape (27) takes the next septet from the extension table;
// one before a septet the table lacks stands for nothing, as does one at the
// end, and a second escape (reserved for a further table) shows as a space.
// Characters that ASCII holds come out as ASCII. pDst must hold
// GSM_7BIT_TEXT_BYTES_PER_SEPTET bytes per septet and the terminator. Returns
// the bytes written, terminator not counted.
int gsmDecode7bit(const unsigned char *pSrc, char *pDst, int nSrcLength);

// Copies count bytes. Returns count.
int gsmEncode8bit(const char *pSrc, unsigned char *pDst, int nSrcLength);

// Copies count octets and writes a terminator. Returns count.
int gsmDecode8bit(const unsigned char *pSrc, char *pDst, int nSrcLength);

// Digits to semi-octet order: "1234567" -> "214365F7". Reads count characters
// (the character after an odd count is not read), writes count (+1 when odd)
// characters and a terminator; returns the characters written.
int gsmInvertNumbers(const char *pSrc, char *pDst, int nSrcLength);

// Semi-octet order back to digits: swaps each pair of the count characters
// read and drops a last 'F'. With an odd count the last character, which has
// no partner, is kept as it stands; nothing past count is read. Writes at
// most count + 1 characters with the terminator; returns the digits kept.
int gsmSerializeNumbers(const char *pSrc, char *pDst, int nSrcLength);

// ---- SMS-SUBMIT encoders -------------------------------------------------

// One UCS2 SMS-SUBMIT: SMS-centre field, TPDU and Ctrl-Z (0x1A). Reads
// smsCenter and peerNumber (each without a leading '+', within their members),
// noCountryCode and userText up to its terminator but at most
// SM_SUBMIT_TEXT_MAX bytes. strCmd becomes "AT+CMGS=<TPDU octets>\r". Keeping
// the user data to one message (140 octets) is the caller's task.
std::string gsmEncodePduNew(const SM_PARAM *pSrc, std::string &strCmd);

// Splits the whole of longText (up to its terminator) into concatenated
// SMS-SUBMIT parts, coded by dataCoding (0 7-bit, 4 8-bit, otherwise UCS2),
// and appends their hex texts (no Ctrl-Z, no command) to parts. Every part of
// one call carries the same reference; each call advances it (1 to 255, never
// 0). An empty or null longText appends nothing, and so does a text that
// would need more than 255 parts. bUcs2 is not read.
void gsmLongSmsPdu(const SM_PARAM *pSrc, std::vector<std::string> &parts, bool bUcs2);

// The head of a concatenated part, SMS-centre field up to the validity
// period, as terminated hex text. pDst must hold SM_SUBMIT_HEAD_SIZE
// characters. A leading '+' of either number is skipped. Returns the
// characters written, terminator not counted.
int GetSubmitPdu(const SM_PARAM *pSrc, char *pDst);

// ---- SMS-DELIVER and stored-message decoders -----------------------------

// Decodes a received SMS-DELIVER (SMS-centre information first) into pDst:
// smsCenter, peerNumber, protocolId, dataCoding, timeStamp, isLongPart,
// userText and, for a concatenated part, groupRef, groupTotal, partNumber,
// partHex, partHexLength (concatRef and partTotal on the UCS2 path), and for a
// push message (dataCoding F5) pushUrl. Clears userText first. pSrc must be
// terminated; nothing past the terminator is read.
// A concatenated part is one whose user data starts with "050003" (unless the
// first octet is 04 or 24), or one with the header indicator set whose header
// holds a concatenation element with an 8-bit (00) or a 16-bit (08)
// reference; partHex is its user data after the whole header. Whenever a
// header is present, userText is the text after it, in every coding but push.
// An originator whose type of number is alphanumeric (5) is the name it
// spells in the GSM alphabet, in the console's encoding.
// The user data is read in the alphabet that gsmDataCodingAlphabet gives the
// data coding (F5, a push message, has its own path): a 7-bit text as the GSM
// alphabet's characters in the console's encoding, UCS2 as its characters,
// 8-bit data as upper-case hex digits (two per octet, so that no octet of
// data reaches the console raw), and a compressed text as a one-line note in
// the console's encoding that it cannot be shown. The message class stays out
// of the text.
// Hostile input: a header field that the text does not hold whole ends the
// decode and leaves that member and the later ones as they were; user data
// shorter than its UDL decodes the octets present; a number longer than its
// member is cut to the member (a name before a character that does not fit
// whole), the rest of the PDU still read in place; an SMS-centre length of 00
// means no SMS-centre address. Returns the UDL for
// 7-bit, the octets for 8-bit and for a compressed text, the bytes of text for
// UCS2, and for a push message what its branch yields (0 in this build); 0
// when decoding stopped before the user data.
int gsmDecodePdu(const char *pSrc, SM_PARAM *pDst);

// Decodes a stored SMS-SUBMIT: smsCenter, peerNumber (the destination),
// protocolId, dataCoding and userText; a one-octet validity period is passed
// over whatever the first octet says. With the header indicator set, userText
// is the text after the header; no part members are written. Same alphabets,
// bounds and results as gsmDecodePdu.
int gsmDecodeSendPdu(const char *pSrc, SM_PARAM *pDst);

// A terminated UTF-8 text in the console's encoding. Windows: the text in the
// ANSI code page, handed back in *out (freed by the caller with delete[]),
// returning its bytes with the terminator; 0 and *out unchanged when it cannot
// be converted. Linux: returns 0 and leaves *out unchanged.
int Utf8ToGBK(const char *text, char **out);

// ---- UCS2 and text conversions -------------------------------------------

// count bytes of multibyte text (up to an embedded NUL) to UCS2 octets, high
// octet first. Converts with the character type of the environment; when that
// cannot convert the text (the plain C/POSIX locale, or bytes it rejects) the
// text is read as UTF-8, the console encoding, and bytes that are not UTF-8
// either become U+FFFD, so no text turns silently into nothing. A character
// above U+FFFF becomes a UTF-16 surrogate pair. Writes at most 2 * count
// octets; returns the octets written.
int gsmEncodeUcs2(const char *pSrc, unsigned char *pDst, int nSrcLength);

// count / 2 UCS2 characters (an odd last octet is ignored) to the console's
// text. A valid surrogate pair becomes its character; a lone surrogate
// becomes U+FFFD. Returns the bytes written.
// Linux: UTF-8, written without a terminator; the text ends at a character of
// value 0; at most 3 bytes per UCS2 character (1.5 * count).
// Windows: the ANSI code page, every character converted (value 0 too), at
// most 160 bytes and then a terminator, so pDst holds 161 bytes; a text that
// does not fit gives 0 and an empty text.
int gsmDecodeUcs2(const unsigned char *pSrc, char *pDst, int nSrcLength);

// As gsmDecodeUcs2, returning the text as a string; count 0 gives "". On
// Windows the text is not capped.
std::string gsmDecodeNew2(const unsigned char *pSrc, int nSrcLength);

// Multibyte text of the console to wide text. Linux: the environment's
// character type (the process LC_CTYPE is set from the environment), falling
// back to UTF-8 as gsmEncodeUcs2 does. Windows: the ANSI code page.
std::wstring ANSIToUnicode(const std::string &text);

// Wide text to the console's text, ending at a character of value 0.
// Linux: UTF-8 through the locale "en_US.utf8", or "C.UTF-8" when that is
// missing, or the codec's own UTF-8 writer when neither exists; sets the whole
// process locale to the one used. A character no UTF-8 can hold (a surrogate
// value, or above U+10FFFF) gives the empty text. Windows: the ANSI code page.
std::string UnicodeToANSI(const std::wstring &text);

#endif
