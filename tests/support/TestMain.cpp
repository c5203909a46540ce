#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program shares this entry: a real QApplication (offscreen in ctest)
// so that windows, clipboard and events behave as in the programs.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // No test may broadcast on the machine's own network: searches and address assignments
    // go to the loopback unless a test inside the network namespace (in-netns) says otherwise.
    SetBroadcastAddressForTesting(MakeInAddr(127, 0, 0, 1));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
