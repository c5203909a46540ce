// What a telnet server sends to the terminal window's reader: option negotiation,
// subnegotiation and data. The parser shows the text that a plain reading of the telnet
// stream gives and answers each terminal-type request once; it gives the same data and
// answers whether the bytes come in one read, in reads of any split or byte by byte; a
// command repeated at once is answered again only when it is a refused request; an open
// subnegotiation holds 4 KiB at most. The reader, fed by a peer on 127.0.0.1 that then
// closes, shows that data, sends those answers and sees the end of the connection.
#include "fuzz/support/Fuzz.h"
#include "fuzz/support/LoopbackPeer.h"
#include "platform/net/TTelnetClient.h"
#include "platform/net/TTelnetParser.h"
#include "simulators/TelnetBytes.h"

#include <QCoreApplication>

#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using fuzz::Require;

namespace {

using TKind = TTelnetParser::TOutput::TKind;

fuzz::LoopbackListener* server = nullptr;

// What a reader makes of the bytes: the data and the answers, each joined in order.
struct TSeen {
    std::string data;
    std::string answers;

    bool operator==(const TSeen&) const = default;

    void Add(const std::vector<TTelnetParser::TOutput>& outputs)
    {
        for (const TTelnetParser::TOutput& output : outputs)
            (output.kind == TKind::Data ? data : answers) += output.bytes;
    }
};

// What the terminal must show and answer for the bytes, read from the telnet stream apart
// from the parser: a byte other than IAC is text; IAC IAC is one 255 of the text; IAC and
// WILL, WONT, DO or DONT takes one byte more, the option; IAC SB opens a subnegotiation
// that only IAC SE ends (IAC IAC inside is one 255 of it, IAC and another byte nothing);
// IAC and any other byte is a command. No command or subnegotiation shows, nor anything
// after one the bytes leave unfinished. A finished subnegotiation that begins with
// TERMINAL-TYPE SEND is a request for the terminal type, however long it is: what the
// parser holds of it keeps its first bytes.
struct TExpected {
    std::string text;
    std::size_t terminalTypeRequests = 0;
};

TExpected ReadTheStream(std::string_view bytes)
{
    using namespace telnet_bytes;
    const auto is = [&bytes](std::size_t at, const std::string& code) {
        return at < bytes.size() && bytes[at] == code[0];
    };
    TExpected expected;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (!is(at, IAC)) {
            expected.text += bytes[at++];
        } else if (is(at + 1, IAC)) {
            expected.text += IAC;
            at += 2;
        } else if (is(at + 1, WILL) || is(at + 1, WONT) || is(at + 1, DO) || is(at + 1, DONT)) {
            at += 3;
        } else if (is(at + 1, SB)) {
            std::string sub;
            at += 2;
            while (at < bytes.size() && !(is(at, IAC) && is(at + 1, SE))) {
                if (!is(at, IAC))
                    sub += bytes[at++];
                else {
                    if (is(at + 1, IAC))
                        sub += IAC;
                    at += 2;
                }
            }
            if (at >= bytes.size())
                break;
            expected.terminalTypeRequests += sub.starts_with("\x18\x01");
            at += 2;
        } else {
            at += 2;
        }
    }
    return expected;
}

std::size_t Occurrences(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Whether the answers hold one terminal-type answer a request, and no other
// subnegotiation: a negotiation answer (IAC, a verb, an option) never holds IAC SB.
bool AnswersEachRequest(std::string_view answers, std::size_t requests, const std::string& type)
{
    using namespace telnet_bytes;
    return Occurrences(answers, IAC + SB) == requests &&
           Occurrences(answers, IAC + SB + "\x18" + '\0' + type + IAC + SE) == requests;
}

// The bytes in reads of at most maxRead bytes each, of lengths the seed picks.
TSeen ParseInReads(TTelnetParser& parser, std::string_view bytes, std::size_t maxRead,
                   uint32_t seed)
{
    std::minstd_rand random(seed);
    TSeen seen;
    while (!bytes.empty()) {
        const std::size_t read = std::min<std::size_t>(bytes.size(), 1 + random() % maxRead);
        seen.Add(parser.Process(bytes.substr(0, read)));
        bytes.remove_prefix(read);
    }
    return seen;
}

std::string AnswersTo(TTelnetParser& parser, std::string_view bytes)
{
    TSeen seen;
    seen.Add(parser.Process(bytes));
    return seen.answers;
}

// Options accepted from the peer (ECHO, end-of-record), offered here (terminal type) and
// one the input picks.
void CheckRepeatedCommands(TTelnetParser& parser, uint8_t picked)
{
    using namespace telnet_bytes;
    // Whatever command or subnegotiation the input left open, this ends it.
    parser.Process(IAC + SE + IAC + SE);
    for (const int option : {1, 24, 25, int{picked}}) {
        for (const std::string& verb : {WILL, DO, WONT, DONT}) {
            const std::string command = Op(verb, option);
            const std::string first = AnswersTo(parser, command);
            const std::string again = AnswersTo(parser, command);
            const std::string refusal = verb == WILL ? Op(DONT, option)
                                        : verb == DO ? Op(WONT, option)
                                                     : std::string();
            Require(again.empty() || (!refusal.empty() && first == refusal && again == refusal),
                    "a command repeated at once is answered again only when it is a refused "
                    "request");
        }
    }
}

// What an open subnegotiation may cost: the options answered here need two bytes of one,
// and 4 KiB leaves room for any other while a peer that never ends one cannot fill memory.
constexpr std::size_t kHeldAtMost = 4096;

// The bytes this thread allocates, less those it frees, while `counting` is set; told by the
// allocator's hooks, so that another thread's allocations (one of libFuzzer's starting, say)
// never count.
thread_local bool counting = false;
thread_local std::ptrdiff_t counted = 0;

void CountAllocation(const volatile void*, std::size_t size)
{
    if (counting)
        counted += static_cast<std::ptrdiff_t>(size);
}

void CountFree(const volatile void* pointer)
{
    if (counting)
        counted -= static_cast<std::ptrdiff_t>(__sanitizer_get_allocated_size(pointer));
}

template <typename Action> std::ptrdiff_t NetAllocation(const Action& action)
{
    counted = 0;
    counting = true;
    action();
    counting = false;
    return counted;
}

// Bytes without an IAC go on into any subnegotiation the input left open.
void CheckTheHeldBound(TTelnetParser& parser)
{
    if (!parser.Process("x").empty())
        return;  // shown as data: no subnegotiation is open
    const std::string filler(3 * kHeldAtMost, 'x');
    // A string grows by doubling, so reaching the bound may take up to twice its size.
    Require(NetAllocation([&] { parser.Process(filler); }) <= std::ptrdiff_t{2 * kHeldAtMost},
            "taking in an open subnegotiation never costs more than twice its bound");
    // Every Process hands its outputs over and delivers its data, so all a copy of the
    // parser allocates is the subnegotiation it holds, at its exact size and one byte more.
    std::optional<TTelnetParser> copy;
    Require(NetAllocation([&] { copy.emplace(parser); }) <= std::ptrdiff_t{kHeldAtMost + 1},
            "an open subnegotiation holds 4 KiB at most");
}

// The data the reader hands on and the answers the peer receives.
TSeen ReadThroughTheSocket(std::string_view bytes)
{
    TTelnetClient telnet;
    telnet.SetHost("127.0.0.1");
    telnet.SetPort(server->Port());
    TSeen seen;
    telnet.SetOnDataAvailable([&](const std::string& chunk) { seen.data += chunk; });
    telnet.Connect();
    fuzz::LoopbackConnection peer(server->Accept());
    peer.PlayAndClose(bytes);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (telnet.Connected() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    Require(!telnet.Connected(), "the reader sees the end of the connection");
    seen.answers = peer.ReceiveToEnd();
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    __sanitizer_install_malloc_and_free_hooks(CountAllocation, CountFree);
    server = new fuzz::LoopbackListener;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto seed = input.ConsumeIntegral<uint32_t>();
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    TTelnetParser whole;
    TSeen once;
    once.Add(whole.Process(bytes));
    const TExpected expected = ReadTheStream(bytes);
    Require(once.data == expected.text, "the terminal shows the stream's text");
    Require(AnswersEachRequest(once.answers, expected.terminalTypeRequests, whole.TerminalType()),
            "each terminal-type request is answered once with the terminal type");
    TTelnetParser split;
    Require(ParseInReads(split, bytes, 1 + seed % 64, seed) == once,
            "reads of any split give the data and answers of one read");
    TTelnetParser byByte;
    Require(ParseInReads(byByte, bytes, 1, seed) == once,
            "byte-by-byte reads give the data and answers of one read");

    CheckTheHeldBound(split);
    CheckRepeatedCommands(byByte, static_cast<uint8_t>(seed >> 8));

    Require(ReadThroughTheSocket(bytes) == once,
            "the reader shows the parser's data and sends its answers");
    return 0;
}
