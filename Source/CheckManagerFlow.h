// Pieces that the send and read flows share: how a port is named to the user,
// when a line has gone away under a flow, and how a send result is shown.
#ifndef ZARVEX_CHECK_MANAGER_FLOW_H
#define ZARVEX_CHECK_MANAGER_FLOW_H

#include <string>

class CComPortBase;
class CPhoneCardBase;
struct SendSmsResult_t;

// A device path as the user sees it, in the result and read lines and the
// JSON result: without its "/dev/" on Linux ("/dev/ttyUSB0" gives "ttyUSB0"),
// without its "\\.\" on Windows ("\\.\COM3" gives "COM3"); a path too
// short to hold more than that prefix gives "".
std::string PortDisplayName(const std::string &comPath);

// The reason of a step whose command the modem left without a verdict
// within its time: it stayed silent, or never finished its reply.
extern const char kNoAnswerReason[];

// True once the port's last failure is a device that went away: unplugged,
// or the line dropped, while the port was open. Every later command would
// only wait out its runner's whole budget for a reply that cannot come.
bool IsLineGone(const CComPortBase &port);

// True once the last command's reply outgrew its bound: the device sends
// without end, and every further command would only wait out its bound.
bool IsLineFlooding(const CComPortBase &port);

// The line can still take a command that may be answered: it has neither
// gone away nor started sending without end.
bool IsLineUsable(const CComPortBase &port);

// Why a flow's step failed: the error of a line that went away (any text the
// modem kept belongs to an earlier exchange), else the modem's own error
// line, else kNoAnswerReason when its last command went unanswered, else the
// port's error, else `otherwise`.
std::string StepFailureReason(CPhoneCardBase &phone, CComPortBase &port, const std::string &otherwise);

// The modem's error text says that it holds no SIM card: one of its lines is
// the error report of 3GPP TS 27.007 (+CME ERROR: 10) or TS 27.005
// (+CMS ERROR: 310) for "SIM not inserted", by number or in words. An empty
// SIM card number says nothing of the kind: it may only not have been read.
bool ReportsNoSimCard(const std::string &modemText);

// After the SMS centre query was refused or went unanswered: a model that
// can send without the answer goes on, with the module's own centre, as
// long as the line is still there.
bool MaySendWithoutSmsCenter(CPhoneCardBase *phone, CComPortBase *port);

// A failure reason as its result line shows it. The system's message for a
// port error ends in its own carriage return and line feed (Windows writes
// them so): that pair ends the line as the system wrote it, where shown as
// \r\n it would read as part of the message. Any other line end, and
// anything else a modem sent, is shown in a visible form, so a reason can
// neither break its line early nor forge another one.
std::string ShownFailureReason(const std::string &reason);

// One send result as a line of its own: in green when the message went out,
// else in red with failedLabel before the reason as ShownFailureReason shows
// it.
void PrintSendResultLine(const SendSmsResult_t &result, const std::string &portName,
                         const char *failedLabel);

#endif
