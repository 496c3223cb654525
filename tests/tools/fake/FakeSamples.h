// Stored messages as a modem holds them after some use: single messages in
// UCS2 (Chinese) and GSM 7-bit, concatenated messages of 2 and 3 parts
// stored out of order, a stored outgoing message, in both stores. And a
// few fakes of every kind, for people who want to try the program.
#ifndef ZARVEX_FAKE_SAMPLES_H
#define ZARVEX_FAKE_SAMPLES_H

#include <string>
#include <vector>

#include "FakeConfig.h"

// For the GSM models.
std::vector<StoredMessage> SampleStoredMessages();
// The same, with the PDU lines of SIM entry 2 and device entry 4 lost to
// noise: a listing or a fetch gives their headers alone.
std::vector<StoredMessage> SampleStoredMessagesWithLostPduLines();
// `count` single messages in the SIM at indices 1 to count, each a text of
// kManyStoredTextLength characters that fills about 330 bytes of a listing:
// a pool modem's SIM after months of use. Message n reads
// ManyStoredText(n).
std::vector<StoredMessage> ManyStoredMessages(int count);
std::string ManyStoredText(int n);
constexpr int kManyStoredTextLength = 63;
// A Tarnel fixed at 115200 behind a USB serial bridge without flow control,
// its SIM holding ManyStoredMessages(count): a listing that overruns the
// bridge's buffer unless the port is read while it flows.
FakeConfig BridgedFullSim(int count);

// A person's contact in entry 1 of the device phonebook, where one module
// family keeps the serial number the program makes for it.
PhonebookEntry UserContactInEntryOne();

// A text to send of `characters` Chinese characters (a phrase repeated,
// three bytes each in UTF-8): past a few dozen it goes out in parts.
std::string LongChineseText(int characters);

// For the CDMA model: ASCII and Unicode texts in both stores.
std::vector<StoredMessage> SampleCdmaMessages();

// Tarnel with the sample messages, Velkor_NC5 with the sample messages,
// Velkor_ME at 115200 only, Sudrel with its messages, Pimsor, Orvast, a
// modem with an unknown identification and a silent port.
std::vector<FakeConfig> SampleFakes();

#endif
