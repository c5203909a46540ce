#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <netinet/in.h>
#include <string>
#include <thread>
#include <vector>

// A network module's configuration service: a real UDP peer in its own thread that keeps
// a 120-byte setup record and answers the search (F6 -> F7 with its MAC address), the
// record read (F8 -> F9), the record writes (FA and FD -> FB, the record stored) and takes
// the address assignment (FC "IP-SETUP" naming its MAC address: the address goes into the
// record, no reply). It can be told to answer late, short, long, twice, without end, with
// the wrong type or prefix, or not at all. Further modules may stand behind its address,
// answering every search with their own MAC addresses. Used by the tests and the benchmarks.
class ModuleSimulator final {
public:
    using Record = std::array<uint8_t, 120>;
    using Mac = std::array<uint8_t, 6>;

    enum class Misbehaviour {
        None,
        Silent,       // no reply
        Short,        // the reply one byte shorter than it must be
        WrongType,    // the reply with another type byte
        WrongPrefix,  // the reply beginning 01 00 00
        Twice,        // the reply sent twice
        Late,         // the reply sent LateDelay after the request
        Long,         // the reply padded to LongReplySize bytes
        Flood,        // the reply sent again and again without pause, for FloodLength at most
    };

    struct Options {
        // 0.0.0.0 also receives broadcasts (inside the network namespace only).
        std::string bindAddress = "127.0.0.1";
        uint16_t port = 0;  // 0: a free port the system chooses
        Mac mac{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0x0D};
        // Lets several modules share the port, each getting every broadcast.
        bool sharePort = false;
        // Every reply waits this long first (orders the replies of several modules).
        std::chrono::milliseconds replyDelay{0};
        // Modules behind the same address, as a sender that answers for several MAC
        // addresses: each answers every search this one gets, after its own delay, as it
        // should (misbehaviours are this module's only).
        struct Behind {
            Mac mac;
            std::chrono::milliseconds replyDelay;
        };
        std::vector<Behind> behind;
    };

    // A module on every address and the configuration service's own port 30718, sharing it
    // with other modules so that each gets the real broadcast (inside a network namespace
    // only), with the MAC address 00-20-4A-0B-0C-lastMacByte.
    static Options AnsweringBroadcasts(uint8_t lastMacByte);
    // The module of options and `more` modules behind it answer each search at random times
    // within spread (drawn from seed), the ones behind with options' MAC address counted up
    // in its last two bytes.
    static Options AnsweringSpread(Options options, int more, std::chrono::milliseconds spread,
                                   uint32_t seed);

    static constexpr std::chrono::milliseconds kLateDelay{1300};
    static constexpr size_t kLongReplySize = 300;
    // Long enough to outlast a search bounded at ten times a short time-out.
    static constexpr std::chrono::milliseconds kFloodLength{5000};

    explicit ModuleSimulator(Options options);
    ModuleSimulator();
    ~ModuleSimulator();
    ModuleSimulator(const ModuleSimulator&) = delete;
    ModuleSimulator& operator=(const ModuleSimulator&) = delete;

    uint16_t Port() const { return port_; }
    const std::string& Address() const { return options_.bindAddress; }

    Record GetRecord() const;
    void SetRecord(const Record& record);

    // After `skip` replies sent as they should be, the next `times` replies (-1: all that
    // follow) misbehave so. A flood in progress stops.
    void SetMisbehaviour(Misbehaviour misbehaviour, int times = -1, int skip = 0);

    // Every datagram received, in order.
    std::vector<std::vector<uint8_t>> Received() const;
    // Waits until at least count datagrams were received; false when the time ran out.
    bool WaitForReceived(size_t count, std::chrono::milliseconds timeout) const;

private:
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::vector<uint8_t> bytes;
        sockaddr_in peer;
    };

    void Run();
    void Handle(const std::vector<uint8_t>& request, const sockaddr_in& peer);
    std::vector<uint8_t> Answer(const std::vector<uint8_t>& request);
    static std::vector<uint8_t> SearchAnswer(const Mac& mac);
    void Queue(std::vector<uint8_t> reply, const sockaddr_in& peer);
    void SendDue();

    Options options_;
    int fd_ = -1;
    int wakePipe_[2] = {-1, -1};
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable received_;
    Record record_{};
    std::vector<std::vector<uint8_t>> log_;
    Misbehaviour misbehaviour_ = Misbehaviour::None;
    int misbehaviourTimes_ = 0;
    int misbehaviourSkip_ = 0;
    std::vector<Pending> pending_;
    std::optional<Pending> flood_;  // its due time is when it ends
    std::thread thread_;
};
