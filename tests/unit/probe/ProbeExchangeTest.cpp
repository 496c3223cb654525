// One command and its reply: what is pending is dropped first, the reply is
// gathered until its final result code however it is cut into pieces, and
// every exchange ends within its time and byte bounds.
#include <gtest/gtest.h>

#include "ProbeExchange.h"
#include "ScriptedModem.h"

namespace {

Responder Pieces(std::vector<ReplyPiece> pieces)
{
    return [pieces](const std::string &, int) { return pieces; };
}

TEST(ProbeExchangeTest, GathersPiecesFarApartUntilTheFinalResult)
{
    ScriptedLine line(Pieces({{10, "\r\n+CCID: 8986"}, {250, "001234\r\n"}, {600, "\r\nOK\r\n"}}));
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT+CCID\r"), "\r\n+CCID: 8986001234\r\n\r\nOK\r\n");
    EXPECT_GE(line.Now(), 600);
    EXPECT_LT(line.Now(), 600 + 2 * kProbePollMs);
}

TEST(ProbeExchangeTest, EndsAsSoonAsAnErrorReportIsWhole)
{
    ScriptedLine line(Pieces({{10, "\r\n+CME ERROR: 1"}, {40, "0\r\n"}, {300, "late"}}));
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT+CCID\r"), "\r\n+CME ERROR: 10\r\n");
    EXPECT_LT(line.Now(), 100);
}

TEST(ProbeExchangeTest, DropsWhatWasPendingBeforeTheCommand)
{
    ScriptedLine line(Pieces({{10, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n"}}));
    line.Inject(0, "\r\n+CCID: 8986001234\r\n\r\nOK\r\n");
    line.Inject(0, "\r\n^RSSI: 12\r\n");
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT+CSQ\r"), "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
}

TEST(ProbeExchangeTest, AnUnfinishedReplyEndsAtTheTimeBound)
{
    ScriptedLine line(Pieces({{10, "\r\n+CCID: 8986"}, {2000, "001234\r\n\r\nOK\r\n"}}));
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT+CCID\r"), "\r\n+CCID: 8986");
    EXPECT_GE(line.Now(), kProbeExchangeTimeMs);
    EXPECT_LE(line.Now(), kProbeExchangeTimeMs + kProbePollMs);
    EXPECT_FALSE(session.Failed());
}

TEST(ProbeExchangeTest, SilenceCostsExactlyTheTimeBound)
{
    ScriptedLine line(Pieces({}));
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT\r"), "");
    EXPECT_EQ(line.Now(), kProbeExchangeTimeMs);
}

// The babble was already there before the command, and no line of it ever
// ends: none of it is the command's reply, and the exchange still ends at
// its byte bound.
TEST(ProbeExchangeTest, ALineThatNeverGoesQuietIsBoundedInBytes)
{
    ScriptedLine line(Pieces({}));
    line.Babble();
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT\r"), "");
    EXPECT_LE(line.Reads(), 3);
    EXPECT_LT(line.Now(), kProbeExchangeTimeMs);
}

TEST(ProbeExchangeTest, AFailedLineEndsThisAndEveryLaterExchangeAtOnce)
{
    ScriptedLine line(Pieces({{10, "\r\nOK\r\n"}}));
    line.DropAfterCommands(1);
    CProbeSession session(line);

    EXPECT_EQ(session.Send("AT\r"), "");
    EXPECT_TRUE(session.Failed());
    const int reads = line.Reads();
    EXPECT_EQ(session.Send("ATI\r"), "");
    EXPECT_EQ(line.Reads(), reads);
    EXPECT_EQ(line.Commands().size(), 1u);
    EXPECT_LT(line.Now(), kProbeExchangeTimeMs);
}

}  // namespace
