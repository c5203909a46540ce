// What a telnet server sends to the terminal window's reader: option negotiation,
// subnegotiation and data, in one piece, from a peer on 127.0.0.1 that then closes. The
// reader answers, hands the data on and sees the end of the connection.
#include "fuzz/support/Fuzz.h"
#include "fuzz/support/LoopbackPeer.h"
#include "platform/net/TTelnetClient.h"

#include <QCoreApplication>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

using fuzz::Require;

namespace {

fuzz::LoopbackListener* server = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    server = new fuzz::LoopbackListener;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TTelnetClient telnet;
    telnet.SetHost("127.0.0.1");
    telnet.SetPort(server->Port());
    std::size_t shown = 0;
    telnet.SetOnDataAvailable([&shown](const std::string& chunk) { shown += chunk.size(); });
    telnet.Connect();
    fuzz::LoopbackConnection peer(server->Accept());
    peer.PlayAndClose(std::string_view(reinterpret_cast<const char*>(data), size));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (telnet.Connected() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    Require(!telnet.Connected(), "the reader sees the end of the connection");
    Require(shown <= size, "no data is made up");
    return 0;
}
