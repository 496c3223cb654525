// The flows stop talking to a port once its device has gone away; a port
// that never opened, or one still there, is not such a port.
#include <pty.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "CheckManagerFlow.h"

namespace {

using LineGoneTest = app_test::PortTest;

TEST_F(LineGoneTest, OnlyADeviceThatWentAwayIsALineGone)
{
    CComPortBase missing("/dev/ttyUSB-not-there", 9600);
    EXPECT_TRUE(missing.IsComError());
    EXPECT_FALSE(IsLineGone(missing));

    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    {
        CComPortBase port(name, 9600);
        ASSERT_TRUE(port.IsOpened());
        std::string reply;
        port.ReadAll(reply);
        EXPECT_FALSE(IsLineGone(port));

        close(master);
        port.ReadAll(reply);
        EXPECT_TRUE(port.IsComError());
        EXPECT_TRUE(IsLineGone(port));
    }
    close(slave);
}

}  // namespace
