#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A plate-matching device's command service: a real TCP server in its own thread that
// keeps a match list and answers the text commands (QVE, QLS, QTM, CLS, SLS..., SNF...,
// QLI..., QNF) and the 260-byte blocks (06 stored, 15 refused, 19 memory full; the closing
// byte 04). It serves one connection at a time, as a device does, and can be told to
// misbehave. Used by the tests and by tools/tavrin-device.
class DeviceSimulator final {
public:
    struct Entry {
        std::string plate;
        uint64_t frame = 0;
        bool operator==(const Entry&) const = default;
    };

    struct Options {
        std::string bindAddress = "127.0.0.1";
        uint16_t port = 0;  // 0: a free port the system chooses
        std::string version = "Ver1.10";
        int mode = 0;
        int capacity = 2048;
        // Whether QLS counts (and QLI lists) the NOREAD and NOPLATE entries.
        bool countSpecials = false;
    };

    // What to do with text commands that begin with `prefix` ("" for every command).
    // The first `skip` such commands are answered normally, then `times` of them
    // (-1: all the rest) get the action.
    struct CommandRule {
        enum class Action {
            Silent,  // no answer at all
            Close,   // close the connection instead of answering
            Raw,     // send `bytes` instead of the answer
            Before,  // send `bytes` first, then the normal answer
            Slow,    // `bytes` (or, when empty, the normal answer) in pieces of
                     // `pieceSize` bytes, `pieceDelayMs` apart
        };
        std::string prefix;
        Action action = Action::Silent;
        std::string bytes;
        int skip = 0;
        int times = -1;
        size_t pieceSize = 1;
        int pieceDelayMs = 0;
        // Close the connection once the action is done.
        bool closeAfter = false;
    };

    // What to do with the block number `index` of a connection (counted from 0 over the
    // blocks received, the closing byte 04 included; -1 for every block).
    struct BlockRule {
        enum class Action {
            Reply,   // answer `reply` instead (the block is stored only when that is 06)
            Silent,  // no answer
            Close,   // close the connection
        };
        int index = -1;
        Action action = Action::Reply;
        uint8_t reply = 0x06;
        int times = -1;
    };

    explicit DeviceSimulator(Options options);
    DeviceSimulator();
    ~DeviceSimulator();
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    uint16_t Port() const { return port_; }
    // A port on 127.0.0.1 where nothing listens: one a simulator had a moment ago.
    static uint16_t UnusedPort();
    const std::string& Address() const { return options_.bindAddress; }

    void SetList(std::vector<Entry> list);
    std::vector<Entry> List() const;
    void SetNoMatch(uint64_t frame);
    uint64_t NoMatch() const;
    void SetCountSpecials(bool count);
    // Added to the count that QLS reports.
    void SetCountOffset(int offset);

    void AddRule(CommandRule rule);
    void AddRule(BlockRule rule);

    // Every text command received, without its line end, in order.
    std::vector<std::string> Commands() const;
    // Every block received (and every closing byte 04) as raw bytes, in order.
    std::vector<std::string> Blocks() const;
    // Connections accepted so far.
    int Connections() const;

private:
    void Run();
    void Serve(int fd);
    // false when the connection is to be closed.
    bool HandleCommand(int fd, const std::string& command);
    bool HandleBlock(int fd, const std::string& block);
    std::string Answer(const std::string& command);
    bool Send(int fd, const std::string& bytes);
    bool SendSlowly(int fd, const std::string& bytes, size_t pieceSize, int delayMs);
    // Positions in list_ of the entries that QLS counts and QLI lists (under mutex_).
    const std::vector<size_t>& Visible() const;
    // Sleeps, waking at once when the simulator stops; false when it stops.
    bool Pause(int milliseconds);

    Options options_;
    uint16_t port_ = 0;
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    std::vector<Entry> list_;
    mutable std::vector<size_t> visible_;
    mutable bool visibleStale_ = true;
    uint64_t noMatch_ = 0;
    int countOffset_ = 0;
    std::vector<CommandRule> commandRules_;
    std::vector<int> commandRuleSeen_;
    std::vector<BlockRule> blockRules_;
    std::vector<std::string> commands_;
    std::vector<std::string> blocks_;
    int connections_ = 0;
    int expectedBlock_ = 0;
    int blockIndex_ = 0;
};
