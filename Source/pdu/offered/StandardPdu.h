// A class-based SMS-SUBMIT builder offered beside the gsm encoders. Its text
// conversion is not carried out in this build: the PDUs it builds have empty
// user data. Nothing in the program calls it: it lives in the offered
// library, which only its tests link.
#ifndef ZARVEX_STANDARD_PDU_H
#define ZARVEX_STANDARD_PDU_H

#include <string>
#include <vector>

// One send step of a message built by CStandardPdu.
struct PDU_Send_Base_t {
    std::string cmd;
    std::string pdu;
};

// The PDU's fields as fixed character areas, in PDU order.
struct PDU_DATA {
    char smscLength[2];
    char smscType[2];
    char smscDigits[16];
    char firstOctetAndReference[4];  // "1100"
    char destLength[2];
    char destType[2];
    char destDigits[32];
    char pidDcsVp[6];  // "0008AA"
    char userDataLength[2];
    char userData[1024];

    PDU_DATA();
};

class CStandardPdu {
public:
    static const int MAX_SMSC_LENGTH = 15;
    static const int MAX_NUMBER_LENGTH = 31;
    static const int MAX_TEXT_LENGTH = 139;
    static const int MAX_UCS2_OCTETS = 255;

    CStandardPdu();

    // Copies the centre number, the destination and the text, in this order;
    // false at the first one that is too long (more than 15, 31 or 139
    // characters), the ones before it already copied.
    bool InitSample(const std::string &smsc, const std::string &number, const std::string &text);

    // Writes SMS-centre field, TPDU and Ctrl-Z to out (no terminator is
    // counted; one is added when out has room for it). total becomes the
    // characters written, tpduLength the TPDU's characters. False, with out
    // untouched, when the UCS2 text exceeds 255 octets or out (size
    // characters) cannot hold the PDU.
    bool SaveToUCS2Data(char *out, int size, int &total, int &tpduLength);

    // Not carried out: always empty.
    std::vector<PDU_Send_Base_t> CreateLongPduSmsFromData();

    // Copies src to dst + dstLength; returns dstLength + srcLength.
    static int AppendData(char *dst, int dstLength, const char *src, int srcLength);
    // Swaps each character pair in place; false for an odd length.
    static bool SwapNextTwoValue(char *text, int length);
    // '0'-'9' and 'A'-'F' for 0-15, '0' for anything else.
    static char ValueToHex(int value);
    // 0-15 for '0'-'9' and 'A'-'F', -1 otherwise.
    static int HexToValue(char c);
    // True when the number is written with its international '+'.
    static bool IsSMSCInternal(const char *text);
    // As the free gsmBytes2String.
    static int gsmBytes2String(const unsigned char *pSrc, char *pDst, int nSrcLength);

private:
    // The text as UCS2 hex; not carried out, writes nothing.
    int ToUnicode(const char *text, int length, char *hex, int hexSize);

    // The SMS centre's type of address goes straight into the PDU: no
    // member keeps it, as nothing would read it again.
    char m_smsc[MAX_SMSC_LENGTH] = {};
    int m_smscLength = 0;
    char m_number[MAX_NUMBER_LENGTH] = {};
    int m_numberLength = 0;
    char m_text[MAX_TEXT_LENGTH] = {};
    int m_textLength = 0;
};

#endif
