#include "platform/net/TTelnetClient.h"

#include "platform/net/ESocketError.h"

#include <QSocketNotifier>

namespace {

constexpr uint8_t IAC = 255;
constexpr uint8_t DONT = 254;
constexpr uint8_t DO = 253;
constexpr uint8_t WONT = 252;
constexpr uint8_t WILL = 251;
constexpr uint8_t SB = 250;
constexpr uint8_t SE = 240;
constexpr uint8_t EOR = 239;

constexpr uint8_t kEcho = 1;
constexpr uint8_t kTerminalType = 24;
constexpr uint8_t kEndOfRecord = 25;
constexpr uint8_t kTerminalTypeSend = 1;
constexpr uint8_t kTerminalTypeIs = 0;

std::string Command(uint8_t verb, uint8_t option)
{
    return {static_cast<char>(IAC), static_cast<char>(verb), static_cast<char>(option)};
}

}  // namespace

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
    state_ = TState::Data;
    data_.clear();
    subNegotiation_.clear();
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
    for (const char c : bytes) {
        if (!Connected())
            return;  // a handler closed the connection
        const auto b = static_cast<uint8_t>(c);
        switch (state_) {
        case TState::Data:
            if (b == IAC)
                state_ = TState::Command;
            else
                data_ += c;
            break;
        case TState::Command:
            state_ = TState::Data;
            if (b == IAC) {
                data_ += c;
            } else if (b == WILL || b == WONT || b == DO || b == DONT) {
                verb_ = b;
                state_ = TState::Option;
            } else if (b == SB) {
                DeliverData();
                subNegotiation_.clear();
                state_ = TState::SubOption;
            } else if (b == EOR) {
                DeliverData();
            }
            break;
        case TState::Option:
            state_ = TState::Data;
            Negotiate(verb_, b);
            break;
        case TState::SubOption:
        case TState::SubData:
            if (b == IAC) {
                state_ = TState::SubCommand;
            } else {
                subNegotiation_ += c;
                state_ = TState::SubData;
            }
            break;
        case TState::SubCommand:
            if (b == SE) {
                state_ = TState::Data;
                EndSubNegotiation();
            } else {
                // IAC IAC inside a sub-negotiation is one 255 of its data.
                if (b == IAC)
                    subNegotiation_ += c;
                state_ = TState::SubData;
            }
            break;
        }
    }
    DeliverData();
}

void TTelnetClient::Negotiate(uint8_t verb, uint8_t option)
{
    std::string answer;
    switch (verb) {
    case WILL:
        answer = Command(option == kEcho || option == kEndOfRecord ? DO : DONT, option);
        break;
    case WONT:
        answer = Command(DONT, option);
        break;
    case DO:
        answer = Command(option == kEcho || option == kTerminalType ? WILL : WONT, option);
        break;
    default:  // DONT
        answer = Command(WONT, option);
        break;
    }
    tcp_.Write(answer);
}

void TTelnetClient::EndSubNegotiation()
{
    if (subNegotiation_.size() < 2 || static_cast<uint8_t>(subNegotiation_[0]) != kTerminalType ||
        static_cast<uint8_t>(subNegotiation_[1]) != kTerminalTypeSend)
        return;
    std::string answer{static_cast<char>(IAC), static_cast<char>(SB),
                       static_cast<char>(kTerminalType), static_cast<char>(kTerminalTypeIs)};
    answer += terminalType_;
    answer += static_cast<char>(IAC);
    answer += static_cast<char>(SE);
    tcp_.Write(answer);
}

void TTelnetClient::DeliverData()
{
    if (data_.empty())
        return;
    const std::string chunk = std::move(data_);
    data_.clear();
    if (onData_)
        onData_(chunk);
}
