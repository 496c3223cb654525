// Temporary bodies so that the library links while the codec is written.
#include "PduCodec.h"

int gsmString2Bytes(const char *, unsigned char *, int n) { return n > 0 ? n / 2 : 0; }
int gsmBytes2String(const unsigned char *, char *p, int n) { if (p) *p = 0; return n > 0 ? 2 * n : 0; }
int gsmEncode7bitLength(const char *, int n) { return n; }
int gsmEncode7bit(const char *, unsigned char *, int) { return 0; }
int gsmDecode7bit(const unsigned char *, char *p, int) { if (p) *p = 0; return 0; }
int gsmEncode8bit(const char *, unsigned char *, int) { return 0; }
int gsmDecode8bit(const unsigned char *, char *p, int) { if (p) *p = 0; return 0; }
int gsmInvertNumbers(const char *, char *p, int) { if (p) *p = 0; return 0; }
int gsmSerializeNumbers(const char *, char *p, int) { if (p) *p = 0; return 0; }
std::string gsmEncodePduNew(const SM_PARAM *, std::string &cmd) { cmd.clear(); return std::string(); }
void gsmLongSmsPdu(const SM_PARAM *, std::vector<std::string> &, bool) {}
int GetSubmitPdu(const SM_PARAM *, char *p) { if (p) *p = 0; return 0; }
int GetPushSubmitPdu(const SM_PARAM *, char *) { return 0; }
int gsmDecodePdu(const char *, SM_PARAM *) { return 0; }
int gsmDecodeSendPdu(const char *, SM_PARAM *) { return 0; }
int gsmDecodeStatusReportPdu(const char *, SM_PARAM *) { return 0; }
int Utf8ToGBK(const char *, char **) { return 0; }
int gsmEncodeUcs2(const char *, unsigned char *, int) { return 0; }
int gsmDecodeUcs2(const unsigned char *, char *, int) { return 0; }
std::string gsmDecodeNew2(const unsigned char *, int) { return std::string(); }
std::wstring ANSIToUnicode(const std::string &) { return std::wstring(); }
std::string UnicodeToANSI(const std::wstring &) { return std::string(); }
std::string UnicodeToUTF8(const std::wstring &) { return std::string(); }
std::wstring UTF8ToUnicode(const std::string &) { return std::wstring(); }
std::string UTF8ToANSI(const std::string &) { return std::string(); }
std::string ANSIToUTF8(const std::string &) { return std::string(); }
