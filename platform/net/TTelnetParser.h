#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The telnet protocol of the terminal on bytes alone, without a socket: what the peer sent
// goes in, the answers to send back and the data chunks to show come out, in order. ECHO
// and end-of-record are accepted from the peer, ECHO and the terminal type offered by this
// side, everything else refused. The state is kept between calls, so a command split
// across two reads is still understood.
//
// Each option's state is kept for both sides, and only a command that would change it is
// answered: an acknowledgement of a state already in force gets none, so a peer that
// answers every command the same way cannot keep the two sides acknowledging each other
// for ever. A refused request is answered each time it is made.
class TTelnetParser final {
public:
    struct TOutput {
        enum class TKind { Answer, Data };
        TKind kind;
        std::string bytes;

        bool operator==(const TOutput&) const = default;
    };

    const std::string& TerminalType() const { return terminalType_; }
    void SetTerminalType(std::string type) { terminalType_ = std::move(type); }

    // Back to the start of a connection.
    void Reset();

    // Runs the bytes through the parser. A data chunk ends at a record end, at the start
    // of a sub-negotiation and at the end of the bytes.
    std::vector<TOutput> Process(std::string_view bytes);

    // The most of a sub-negotiation held: more than the options answered here ever need;
    // the rest of a longer one is dropped.
    static constexpr std::size_t kMaxSubNegotiation = 4096;

private:
    enum class TState { Data, Command, Option, SubOption, SubData, SubCommand };

    void Negotiate(uint8_t verb, uint8_t option);
    void AddSubNegotiationByte(char c);
    void EndSubNegotiation();
    void Answer(std::string bytes);
    void DeliverData();

    std::string terminalType_ = "dumb";
    TState state_ = TState::Data;
    uint8_t verb_ = 0;
    std::string data_;
    std::string subNegotiation_;
    std::vector<TOutput> output_;
    // Options in force on this side (WILL agreed) and on the peer's side (DO agreed).
    std::array<bool, 256> local_{};
    std::array<bool, 256> remote_{};
};
