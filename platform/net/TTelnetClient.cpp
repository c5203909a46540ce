#include "platform/net/TTelnetClient.h"

#include "platform/net/ESocketError.h"

#include <QSocketNotifier>

TTelnetClient::TTelnetClient() : notifier_(std::make_unique<QSocketNotifier>(QSocketNotifier::Read))
{
    notifier_->setEnabled(false);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { ReadAvailable(); });
}

TTelnetClient::~TTelnetClient()
{
    notifier_->setEnabled(false);
}

void TTelnetClient::Connect()
{
    if (Connected())
        return;
    parser_.Reset();
    tcp_.Connect();
    notifier_->setSocket(tcp_.Handle());
    notifier_->setEnabled(true);
}

void TTelnetClient::Disconnect()
{
    if (!Connected())
        return;
    // Reading stops before the socket closes, so the notifier never watches a closed
    // (or reused) descriptor.
    notifier_->setEnabled(false);
    tcp_.Disconnect();
}

void TTelnetClient::SendLine(std::string_view line)
{
    std::string bytes(line);
    bytes += "\r\n";
    tcp_.Write(bytes);
}

void TTelnetClient::ReadAvailable()
{
    // A data handler that pumps messages must not start a second read inside the first;
    // what is left is read when the loop comes round again.
    if (reading_ || !Connected())
        return;
    reading_ = true;
    try {
        Process(tcp_.ReadAvailable());
    } catch (const ENetError&) {
        Disconnect();
    }
    reading_ = false;
}

void TTelnetClient::Process(std::string_view bytes)
{
    for (const TTelnetParser::TOutput& output : parser_.Process(bytes)) {
        if (!Connected())
            return;  // a handler closed the connection
        if (output.kind == TTelnetParser::TOutput::TKind::Answer)
            tcp_.Write(output.bytes);
        else if (onData_)
            onData_(output.bytes);
    }
}
