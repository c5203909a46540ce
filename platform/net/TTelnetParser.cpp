#include "platform/net/TTelnetParser.h"

#include <utility>

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

bool AcceptedFromPeer(uint8_t option)
{
    return option == kEcho || option == kEndOfRecord;
}

bool OfferedHere(uint8_t option)
{
    return option == kEcho || option == kTerminalType;
}

}  // namespace

void TTelnetParser::Reset()
{
    state_ = TState::Data;
    data_.clear();
    subNegotiation_.clear();
    local_.fill(false);
    remote_.fill(false);
}

std::vector<TTelnetParser::TOutput> TTelnetParser::Process(std::string_view bytes)
{
    output_.clear();
    for (const char c : bytes) {
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
                AddSubNegotiationByte(c);
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
                    AddSubNegotiationByte(c);
                state_ = TState::SubData;
            }
            break;
        }
    }
    DeliverData();
    return std::exchange(output_, {});
}

void TTelnetParser::Negotiate(uint8_t verb, uint8_t option)
{
    switch (verb) {
    case WILL:
        if (remote_[option])
            return;
        remote_[option] = AcceptedFromPeer(option);
        Answer(Command(remote_[option] ? DO : DONT, option));
        break;
    case WONT:
        if (!remote_[option])
            return;
        remote_[option] = false;
        Answer(Command(DONT, option));
        break;
    case DO:
        if (local_[option])
            return;
        local_[option] = OfferedHere(option);
        Answer(Command(local_[option] ? WILL : WONT, option));
        break;
    default:  // DONT
        if (!local_[option])
            return;
        local_[option] = false;
        Answer(Command(WONT, option));
        break;
    }
}

void TTelnetParser::AddSubNegotiationByte(char c)
{
    if (subNegotiation_.size() < kMaxSubNegotiation)
        subNegotiation_ += c;
}

void TTelnetParser::EndSubNegotiation()
{
    const std::string sub = std::exchange(subNegotiation_, {});
    if (sub.size() < 2 || static_cast<uint8_t>(sub[0]) != kTerminalType ||
        static_cast<uint8_t>(sub[1]) != kTerminalTypeSend)
        return;
    std::string answer{static_cast<char>(IAC), static_cast<char>(SB),
                       static_cast<char>(kTerminalType), static_cast<char>(kTerminalTypeIs)};
    for (const char c : terminalType_) {
        answer += c;
        if (static_cast<uint8_t>(c) == IAC)
            answer += c;  // a 255 inside a subnegotiation is sent twice, not taken for IAC
    }
    answer += static_cast<char>(IAC);
    answer += static_cast<char>(SE);
    Answer(std::move(answer));
}

void TTelnetParser::Answer(std::string bytes)
{
    output_.push_back({TOutput::TKind::Answer, std::move(bytes)});
}

void TTelnetParser::DeliverData()
{
    if (data_.empty())
        return;
    output_.push_back({TOutput::TKind::Data, std::move(data_)});
    data_.clear();
}
