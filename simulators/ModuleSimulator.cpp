#include "ModuleSimulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kRecordDatagram = 124;
// Datagrams of a flood sent at each turn of the loop, which then turns again at once.
constexpr int kFloodBurst = 64;
constexpr char kIPSetup[] = "IP-SETUP";

std::vector<uint8_t> Reply(uint8_t type, size_t size)
{
    std::vector<uint8_t> reply(size, 0);
    reply[3] = type;
    return reply;
}

}  // namespace

ModuleSimulator::Options ModuleSimulator::AnsweringBroadcasts(uint8_t lastMacByte)
{
    Options options;
    options.bindAddress = "0.0.0.0";
    options.port = 30718;
    options.sharePort = true;
    options.mac[5] = lastMacByte;
    return options;
}

ModuleSimulator::Options ModuleSimulator::AnsweringSpread(Options options, int more,
                                                          std::chrono::milliseconds spread,
                                                          uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int64_t> delay(0, spread.count());
    options.replyDelay = std::chrono::milliseconds(delay(random));
    for (int i = 1; i <= more; ++i) {
        Mac mac = options.mac;
        const int counted = (mac[4] << 8 | mac[5]) + i;
        mac[4] = static_cast<uint8_t>(counted >> 8);
        mac[5] = static_cast<uint8_t>(counted);
        options.behind.push_back({mac, std::chrono::milliseconds(delay(random))});
    }
    return options;
}

ModuleSimulator::ModuleSimulator() : ModuleSimulator(Options{})
{
}

ModuleSimulator::ModuleSimulator(Options options) : options_(std::move(options))
{
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        throw std::runtime_error("ModuleSimulator: socket failed");
    const int on = 1;
    if (options_.sharePort)
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(options_.port);
    if (::inet_pton(AF_INET, options_.bindAddress.c_str(), &local.sin_addr) != 1 ||
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd_);
        throw std::runtime_error("ModuleSimulator: cannot bind " + options_.bindAddress);
    }
    socklen_t len = sizeof local;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &len);
    port_ = ntohs(local.sin_port);
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        ::close(fd_);
        throw std::runtime_error("ModuleSimulator: pipe failed");
    }
    thread_ = std::thread([this] { Run(); });
}

ModuleSimulator::~ModuleSimulator()
{
    const char stop = 0;
    [[maybe_unused]] const auto written = ::write(wakePipe_[1], &stop, 1);
    thread_.join();
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
    ::close(fd_);
}

ModuleSimulator::Record ModuleSimulator::GetRecord() const
{
    std::lock_guard lock(mutex_);
    return record_;
}

void ModuleSimulator::SetRecord(const Record& record)
{
    std::lock_guard lock(mutex_);
    record_ = record;
}

void ModuleSimulator::SetMisbehaviour(Misbehaviour misbehaviour, int times, int skip)
{
    std::lock_guard lock(mutex_);
    misbehaviour_ = misbehaviour;
    misbehaviourTimes_ = times;
    misbehaviourSkip_ = skip;
    flood_.reset();
}

std::vector<std::vector<uint8_t>> ModuleSimulator::Received() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

bool ModuleSimulator::WaitForReceived(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return received_.wait_for(lock, timeout, [&] { return log_.size() >= count; });
}

void ModuleSimulator::Run()
{
    for (;;) {
        int wait = -1;
        {
            std::lock_guard lock(mutex_);
            for (const auto& p : pending_) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(p.due - Clock::now());
                const int ms = static_cast<int>(std::max<int64_t>(0, left.count()));
                wait = wait < 0 ? ms : std::min(wait, ms);
            }
            if (flood_)
                wait = 0;
        }
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, wait) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        SendDue();
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        std::vector<uint8_t> request(2048);
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const ssize_t n = ::recvfrom(fd_, request.data(), request.size(), 0,
                                     reinterpret_cast<sockaddr*>(&peer), &len);
        if (n < 0)
            continue;
        request.resize(static_cast<size_t>(n));
        Handle(request, peer);
    }
}

void ModuleSimulator::Handle(const std::vector<uint8_t>& request, const sockaddr_in& peer)
{
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(mutex_);
        log_.push_back(request);
        reply = Answer(request);
    }
    received_.notify_all();
    const bool search = !reply.empty() && reply[3] == 0xF7;
    if (!reply.empty())
        Queue(std::move(reply), peer);
    if (!search)
        return;
    std::lock_guard lock(mutex_);
    for (const Options::Behind& module : options_.behind)
        pending_.push_back({Clock::now() + module.replyDelay, SearchAnswer(module.mac), peer});
}

std::vector<uint8_t> ModuleSimulator::SearchAnswer(const Mac& mac)
{
    auto reply = Reply(0xF7, 30);
    // The unused bytes of a real reply are not zero.
    std::fill(reply.begin() + 4, reply.begin() + 24, 0xA5);
    std::copy(mac.begin(), mac.end(), reply.begin() + 24);
    return reply;
}

// Called with the mutex held.
std::vector<uint8_t> ModuleSimulator::Answer(const std::vector<uint8_t>& request)
{
    if (request.size() < 4 || request[0] != 0 || request[1] != 0 || request[2] != 0)
        return {};
    switch (request[3]) {
    case 0xF6:
        return SearchAnswer(options_.mac);
    case 0xF8: {
        auto reply = Reply(0xF9, kRecordDatagram);
        std::copy(record_.begin(), record_.end(), reply.begin() + 4);
        return reply;
    }
    case 0xFA:
    case 0xFD:
        if (request.size() < kRecordDatagram)
            return {};
        std::copy_n(request.begin() + 4, record_.size(), record_.begin());
        return Reply(0xFB, 4);
    case 0xFC:
        if (request.size() >= 20 && std::memcmp(&request[4], kIPSetup, 8) == 0 &&
            request[14] == options_.mac[4] && request[15] == options_.mac[5])
            std::copy_n(request.begin() + 16, 4, record_.begin());
        return {};
    default:
        return {};
    }
}

void ModuleSimulator::Queue(std::vector<uint8_t> reply, const sockaddr_in& peer)
{
    std::lock_guard lock(mutex_);
    Misbehaviour misbehaviour = Misbehaviour::None;
    if (misbehaviourSkip_ > 0) {
        --misbehaviourSkip_;
    } else if (misbehaviourTimes_ != 0) {
        misbehaviour = misbehaviour_;
        if (misbehaviourTimes_ > 0)
            --misbehaviourTimes_;
    }
    auto due = Clock::now() + options_.replyDelay;
    int copies = 1;
    switch (misbehaviour) {
    case Misbehaviour::None:
        break;
    case Misbehaviour::Silent:
        return;
    case Misbehaviour::Short:
        reply.pop_back();
        break;
    case Misbehaviour::WrongType:
        reply[3] = 0xF0;
        break;
    case Misbehaviour::WrongPrefix:
        reply[0] = 0x01;
        break;
    case Misbehaviour::Twice:
        copies = 2;
        break;
    case Misbehaviour::Late:
        due += kLateDelay;
        break;
    case Misbehaviour::Long:
        reply.resize(kLongReplySize, 0x5A);
        break;
    case Misbehaviour::Flood:
        flood_ = Pending{Clock::now() + kFloodLength, std::move(reply), peer};
        return;
    }
    for (int i = 0; i < copies; ++i)
        pending_.push_back({due, reply, peer});
}

void ModuleSimulator::SendDue()
{
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    auto it = pending_.begin();
    while (it != pending_.end()) {
        if (it->due > now) {
            ++it;
            continue;
        }
        ::sendto(fd_, it->bytes.data(), it->bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&it->peer), sizeof it->peer);
        it = pending_.erase(it);
    }
    if (flood_ && flood_->due <= now)
        flood_.reset();
    for (int i = 0; flood_ && i < kFloodBurst; ++i)
        ::sendto(fd_, flood_->bytes.data(), flood_->bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&flood_->peer), sizeof flood_->peer);
}
