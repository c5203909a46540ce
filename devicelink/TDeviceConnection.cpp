#include "devicelink/TDeviceConnection.h"

#include "devicelink/CommandMessage.h"
#include "platform/net/ESocketError.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/text/TextCase.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"

#include <chrono>
#include <ctime>

namespace {

std::string TimeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return Format("%.2d:%.2d:%.2d:%.3d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
}

// "> #" and each byte as "%.2x " would write it; a full list is 4,096 blocks of 260 bytes,
// so the digits are written directly.
std::string BlockLogText(const uint8_t* bytes, size_t count)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "> #";
    text.reserve(text.size() + 3 * count);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::string BlockReason(uint8_t replyByte)
{
    switch (replyByte) {
    case 0x00:
        return "no answer";
    case 0x15:
        return "no acknowledge";
    case 0x19:
        return "memory full";
    default:
        return "unexpected reply";
    }
}

}  // namespace

TDeviceConnection::TDeviceConnection(LogSink log) : log_(std::move(log))
{
    tcp_.SetReadTimeout(1000);
    tcp_.SetOnStatus(
        [this](TTcpClient::TStatus status, const std::string& text) { TCP1Status(status, text); });
}

void TDeviceConnection::LogLine(const std::string& text)
{
    log_(TimeStamp() + " " + text);
}

void TDeviceConnection::TCP1Status(TTcpClient::TStatus, const std::string& text)
{
    LogLine(text);
}

bool TDeviceConnection::ConnectDevice(const std::string& host)
{
    if (!tcp_.Connected() && !Stopped()) {
        tcp_.SetHost(Trim(host));
        tcp_.SetPort(DevicePort());
        try {
            tcp_.Connect();
        } catch (const ENetError&) {
            if (!Stopped())
                throw;
        }
    }
    return tcp_.Connected();
}

TDeviceConnection::TStopAtSessionEnd::TStopAtSessionEnd(TDeviceConnection& connection)
    : connection_(connection)
{
    connection_.stopAtSessionEnd_ = true;
    connection_.tcp_.SetStopWhen([] { return ui::SessionEnding(); });
}

TDeviceConnection::TStopAtSessionEnd::~TStopAtSessionEnd()
{
    connection_.stopAtSessionEnd_ = false;
    connection_.tcp_.SetStopWhen({});
}

bool TDeviceConnection::Stopped() const
{
    return stopAtSessionEnd_ && ui::SessionEnding();
}

void TDeviceConnection::DisconnectDevice()
{
    tcp_.Disconnect();
}

bool TDeviceConnection::SendCommand(const std::string& command, std::string& reply, int timeout)
{
    for (;;) {
        reply.clear();
        if (Stopped()) {
            lastEnd_ = TCommandEnd::Stopped;
            return false;
        }
        LogLine("> " + command);
        try {
            tcp_.SetReadTimeout(timeout);
            tcp_.Write(command + "\r\n");
            const auto deadline = TTcpClient::Clock::now() +
                                  std::chrono::milliseconds(timeout) * kAttemptDeadlineFactor;
            for (;;) {
                const auto line = tcp_.ReadLn(kMaxLineLength, deadline);
                reply = line.text;
                LogLine("< " + reply);
                if (const size_t echo = reply.find(command); echo != std::string::npos) {
                    reply.erase(0, echo + command.size());
                    lastEnd_ = TCommandEnd::Echo;
                    return true;
                }
                if (line.timedOut) {
                    lastEnd_ = TCommandEnd::TimedOut;
                    return true;
                }
            }
        } catch (const ENetError&) {
            // The error's own text is not shown: the box names what was last received.
        }
        if (Stopped())
            continue;  // to the end above, without a box
        if (reply.size() <= 1)
            reply = "no acknowledge received";
        lastEnd_ = TCommandEnd::Failed;
        const auto answer = ShowCommandMessage(ui::MsgKind::Error,
                                               Format("Error: communication failure (%s)", reply),
                                               ui::Buttons::CancelRetryIgnore);
        if (answer == ui::Result::Cancel)
            return false;
        if (answer == ui::Result::Ignore)
            return true;
    }
}

bool TDeviceConnection::SendBlock(const uint8_t* bytes, size_t count, int timeout)
{
    const std::string logText = BlockLogText(bytes, count);
    const std::string_view data(reinterpret_cast<const char*>(bytes), count);
    for (;;) {
        LogLine(logText);
        uint8_t replyByte = 0x00;
        try {
            tcp_.SetReadTimeout(timeout);
            tcp_.Write(data);
            replyByte = tcp_.ReadByte();
            LogLine(Format("< #%.2x", replyByte));
            if (replyByte == 0x06)
                return true;
        } catch (const ENetError&) {
        }
        const auto answer = ShowCommandMessage(
            ui::MsgKind::Error, "Error: communication failure: " + BlockReason(replyByte),
            ui::Buttons::CancelRetry);
        if (answer == ui::Result::Cancel)
            return false;
    }
}
