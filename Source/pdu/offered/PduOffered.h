// The codec's routines that nothing in the program calls: a septet count, the
// head of a push message, a status-report decoder that is not carried out,
// and conversions between a wide text's storage and text. They live in the
// offered library, which only their tests link. The record and the buffer
// rules are those of PduCodec.h.
#ifndef ZARVEX_PDU_OFFERED_H
#define ZARVEX_PDU_OFFERED_H

#include <string>

#include "PduCodec.h"

// Septets the text needs in the GSM default alphabet: one per character, two
// for form feed ^ { } \ [ ~ ] | (reached through the extension table).
int gsmEncode7bitLength(const char *pSrc, int nSrcLength);

// The head of a push message, SMS-centre field up to the data coding F5, not
// terminated; pDst must hold SM_SUBMIT_HEAD_SIZE characters. Returns the
// characters written.
int GetPushSubmitPdu(const SM_PARAM *pSrc, char *pDst);

// Offered, not implemented: returns 0 and writes nothing.
int gsmDecodeStatusReportPdu(const char *pSrc, SM_PARAM *pDst);

// The first 2 * size bytes of the wide text's storage, unconverted.
std::string UnicodeToUTF8(const std::wstring &text);

// length / 2 wide characters, each made of two bytes of the text, low byte
// first (the storage form of a 16-bit wide text); reads only the text's bytes.
std::wstring UTF8ToUnicode(const std::string &text);

std::string UTF8ToANSI(const std::string &text);  // UnicodeToANSI(UTF8ToUnicode)
std::string ANSIToUTF8(const std::string &text);  // UnicodeToUTF8(ANSIToUnicode)

#endif
