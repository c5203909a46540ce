#include "DeviceSimulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {

constexpr size_t kBlockSize = 260;
constexpr size_t kRecordSize = 16;
constexpr size_t kPlateSize = 10;
constexpr size_t kRecords = 16;
// A text command longer than this without a line end is dropped, like a device would.
constexpr size_t kMaxCommand = 64 * 1024;

std::string Hex(uint64_t value, int digits)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

bool ParseHex(const std::string& text, uint64_t& value)
{
    if (text.empty() || text.size() > 16)
        return false;
    value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        value = value * 16 + digit;
    }
    return true;
}

bool IsSpecial(const std::string& plate)
{
    return plate == "NOREAD" || plate == "NOPLATE";
}

}  // namespace

DeviceSimulator::DeviceSimulator() : DeviceSimulator(Options{})
{
}

DeviceSimulator::DeviceSimulator(Options options) : options_(std::move(options))
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        throw std::runtime_error("DeviceSimulator: socket failed");
    const int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    if (inet_pton(AF_INET, options_.bindAddress.c_str(), &address.sin_addr) != 1 ||
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("DeviceSimulator: cannot listen on " + options_.bindAddress + ":" +
                                 std::to_string(options_.port));
    }
    socklen_t length = sizeof address;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("DeviceSimulator: pipe failed");
    }
    thread_ = std::thread([this] { Run(); });
}

DeviceSimulator::~DeviceSimulator()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    stopping_.notify_all();
    const char wake = 1;
    [[maybe_unused]] auto written = ::write(wakePipe_[1], &wake, 1);
    thread_.join();
    ::close(listenFd_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

uint16_t DeviceSimulator::UnusedPort()
{
    return DeviceSimulator().Port();
}

void DeviceSimulator::SetList(std::vector<Entry> list)
{
    std::lock_guard lock(mutex_);
    list_ = std::move(list);
    visibleStale_ = true;
}

std::vector<DeviceSimulator::Entry> DeviceSimulator::List() const
{
    std::lock_guard lock(mutex_);
    return list_;
}

void DeviceSimulator::SetNoMatch(uint64_t frame)
{
    std::lock_guard lock(mutex_);
    noMatch_ = frame;
}

uint64_t DeviceSimulator::NoMatch() const
{
    std::lock_guard lock(mutex_);
    return noMatch_;
}

void DeviceSimulator::SetCountSpecials(bool count)
{
    std::lock_guard lock(mutex_);
    options_.countSpecials = count;
    visibleStale_ = true;
}

void DeviceSimulator::SetCountOffset(int offset)
{
    std::lock_guard lock(mutex_);
    countOffset_ = offset;
}

void DeviceSimulator::AddRule(CommandRule rule)
{
    std::lock_guard lock(mutex_);
    commandRules_.push_back(std::move(rule));
    commandRuleSeen_.push_back(0);
}

void DeviceSimulator::AddRule(BlockRule rule)
{
    std::lock_guard lock(mutex_);
    blockRules_.push_back(rule);
}

std::vector<std::string> DeviceSimulator::Commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::string> DeviceSimulator::Blocks() const
{
    std::lock_guard lock(mutex_);
    return blocks_;
}

int DeviceSimulator::Connections() const
{
    std::lock_guard lock(mutex_);
    return connections_;
}

bool DeviceSimulator::Pause(int milliseconds)
{
    std::unique_lock lock(mutex_);
    return !stopping_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return stop_.load(); });
}

void DeviceSimulator::Run()
{
    while (!stop_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            std::lock_guard lock(mutex_);
            ++connections_;
            expectedBlock_ = 0;
            blockIndex_ = 0;
        }
        Serve(fd);
        ::close(fd);
    }
}

void DeviceSimulator::Serve(int fd)
{
    std::string buffer;
    for (;;) {
        // Take every complete command or block in the buffer.
        for (;;) {
            if (buffer.empty())
                break;
            const auto first = static_cast<uint8_t>(buffer[0]);
            if (first == 0x01) {
                if (buffer.size() < kBlockSize)
                    break;
                const std::string block = buffer.substr(0, kBlockSize);
                buffer.erase(0, kBlockSize);
                if (!HandleBlock(fd, block))
                    return;
            } else if (first == 0x04) {
                buffer.erase(0, 1);
                if (!HandleBlock(fd, std::string(1, '\x04')))
                    return;
            } else {
                const size_t lf = buffer.find('\n');
                if (lf == std::string::npos) {
                    if (buffer.size() > kMaxCommand)
                        buffer.clear();
                    break;
                }
                std::string command = buffer.substr(0, lf);
                buffer.erase(0, lf + 1);
                if (!command.empty() && command.back() == '\r')
                    command.pop_back();
                if (!HandleCommand(fd, command))
                    return;
            }
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        char chunk[4096];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return;
        if (n > 0)
            buffer.append(chunk, static_cast<size_t>(n));
    }
}

bool DeviceSimulator::HandleCommand(int fd, const std::string& command)
{
    std::optional<CommandRule> rule;
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
        for (size_t i = 0; i < commandRules_.size(); ++i) {
            const auto& r = commandRules_[i];
            if (command.compare(0, r.prefix.size(), r.prefix) != 0)
                continue;
            const int seen = ++commandRuleSeen_[i];
            if (seen > r.skip && (r.times < 0 || seen - r.skip <= r.times)) {
                rule = r;
                break;
            }
        }
    }
    using Action = CommandRule::Action;
    if (!rule)
        return Send(fd, Answer(command));
    bool open = true;
    switch (rule->action) {
    case Action::Silent:
        break;
    case Action::Close:
        return false;
    case Action::Raw:
        open = Send(fd, rule->bytes);
        break;
    case Action::Before:
        open = Send(fd, rule->bytes) && Send(fd, Answer(command));
        break;
    case Action::Slow:
        open = SendSlowly(fd, rule->bytes.empty() ? Answer(command) : rule->bytes, rule->pieceSize,
                          rule->pieceDelayMs);
        break;
    }
    return open && !rule->closeAfter;
}

const std::vector<size_t>& DeviceSimulator::Visible() const
{
    if (visibleStale_) {
        visible_.clear();
        for (size_t i = 0; i < list_.size(); ++i)
            if (options_.countSpecials || !IsSpecial(list_[i].plate))
                visible_.push_back(i);
        visibleStale_ = false;
    }
    return visible_;
}

std::string DeviceSimulator::Answer(const std::string& command)
{
    std::lock_guard lock(mutex_);
    const std::string name = command.substr(0, 3);
    const std::string argument = command.substr(std::min<size_t>(3, command.size()));
    std::string reply;
    if (command == "QVE") {
        reply = options_.version;
    } else if (command == "QLS") {
        const int count = std::clamp(static_cast<int>(Visible().size()) + countOffset_, 0, 0xFFFF);
        reply = Hex(count, 4) + Hex(std::clamp(options_.capacity, 0, 0xFFFF), 4);
    } else if (command == "QTM") {
        reply = std::to_string(options_.mode);
    } else if (command == "CLS") {
        list_.clear();
        visibleStale_ = true;
        noMatch_ = 0;
        expectedBlock_ = 0;
    } else if (command == "QNF") {
        reply = Hex(noMatch_, 12);
    } else if (name == "SNF") {
        uint64_t frame;
        if (ParseHex(argument, frame))
            noMatch_ = frame;
        else
            reply = "ERR";
    } else if (name == "SLS") {
        const size_t eq = argument.rfind('=');
        uint64_t frame;
        if (eq == std::string::npos || eq == 0 || !ParseHex(argument.substr(eq + 1), frame)) {
            reply = "ERR";
        } else {
            Entry entry{argument.substr(0, eq), frame};
            const auto same =
                IsSpecial(entry.plate)
                    ? std::find_if(list_.begin(), list_.end(),
                                   [&](const Entry& e) { return e.plate == entry.plate; })
                    : list_.end();
            if (same != list_.end())
                *same = entry;
            else if (static_cast<int>(list_.size()) >= options_.capacity)
                reply = "FULL";
            else
                list_.push_back(entry);
            visibleStale_ = true;
        }
    } else if (name == "QLI") {
        uint64_t index;
        const auto& visible = Visible();
        if (ParseHex(argument, index) && index < visible.size()) {
            const Entry& entry = list_[visible[index]];
            reply = entry.plate + "=" + Hex(entry.frame, 12);
        } else {
            reply = "ERR";
        }
    } else {
        reply = "?";
    }
    return command + reply + "\r\n";
}

bool DeviceSimulator::HandleBlock(int fd, const std::string& block)
{
    std::optional<BlockRule> rule;
    {
        std::lock_guard lock(mutex_);
        blocks_.push_back(block);
        const int index = blockIndex_++;
        for (auto& r : blockRules_) {
            if ((r.index == -1 || r.index == index) && r.times != 0) {
                if (r.times > 0)
                    --r.times;
                rule = r;
                break;
            }
        }
    }
    using Action = BlockRule::Action;
    if (rule && rule->action == Action::Silent)
        return true;
    if (rule && rule->action == Action::Close)
        return false;
    if (rule && rule->reply != 0x06)
        return Send(fd, std::string(1, static_cast<char>(rule->reply)));

    uint8_t answer = 0x06;
    {
        std::lock_guard lock(mutex_);
        const auto byte = [&](size_t i) { return static_cast<uint8_t>(block[i]); };
        if (block.size() == 1) {
            expectedBlock_ = 0;
        } else {
            uint8_t sum = 0;
            for (size_t i = 0; i + 1 < kBlockSize; ++i)
                sum = static_cast<uint8_t>(sum + byte(i));
            if (byte(2) != 255 - byte(1) || sum != byte(kBlockSize - 1) ||
                byte(1) != (expectedBlock_ & 0xFF)) {
                answer = 0x15;
            } else {
                std::vector<Entry> entries;
                for (size_t r = 0; r < kRecords; ++r) {
                    const std::string record = block.substr(3 + r * kRecordSize, kRecordSize);
                    if (record == std::string(kRecordSize, '\xFF'))
                        continue;
                    Entry entry;
                    entry.plate = record.substr(0, kPlateSize);
                    entry.plate.resize(std::min(entry.plate.find('\0'), kPlateSize));
                    for (size_t i = kPlateSize; i < kRecordSize; ++i)
                        entry.frame = (entry.frame << 8) | static_cast<uint8_t>(record[i]);
                    entries.push_back(entry);
                }
                if (list_.size() + entries.size() > static_cast<size_t>(options_.capacity)) {
                    answer = 0x19;
                } else {
                    list_.insert(list_.end(), entries.begin(), entries.end());
                    visibleStale_ = true;
                    ++expectedBlock_;
                }
            }
        }
    }
    return Send(fd, std::string(1, static_cast<char>(answer)));
}

bool DeviceSimulator::Send(int fd, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakePipe_[0], POLLIN, 0}};
        ::poll(fds, 2, -1);
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP)) != 0)
            return false;
    }
    return true;
}

bool DeviceSimulator::SendSlowly(int fd, const std::string& bytes, size_t pieceSize, int delayMs)
{
    pieceSize = std::max<size_t>(pieceSize, 1);
    for (size_t at = 0; at < bytes.size(); at += pieceSize) {
        if (at > 0 && !Pause(delayMs))
            return false;
        if (!Send(fd, bytes.substr(at, pieceSize)))
            return false;
    }
    return true;
}
