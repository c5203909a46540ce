// tavrin-device: a simulated plate-matching device on this machine, so a person can try
// the list manager without hardware. Runs until Ctrl+C.
#include "simulators/DeviceSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: tavrin-device [options]\n"
    "  --port N          TCP port of the command service (default 10001)\n"
    "  --bind ADDRESS    address to listen on (default 127.0.0.1)\n"
    "  --version TEXT    firmware version text answered to QVE (default Ver1.10)\n"
    "  --mode N          match-list mode answered to QTM: 0 normal, 4 XL (default 0)\n"
    "  --capacity N      plates the device can hold, at most 65535 (default 2048)\n"
    "  --list FILE       stored list: one PLATE=FRAME line each (FRAME hexadecimal);\n"
    "                    NOMATCH=FRAME sets the no-match value\n"
    "  --count-specials  count the NOREAD and NOPLATE entries in QLS and list them in QLI\n";

std::optional<long> Number(const std::string& text, long low, long high)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

bool ReadList(const std::string& fileName, std::vector<DeviceSimulator::Entry>& list,
              uint64_t& noMatch)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t eq = line.rfind('=');
        if (line.empty() || eq == std::string::npos || eq == 0)
            continue;
        char* end = nullptr;
        const std::string hex = line.substr(eq + 1);
        const uint64_t frame = std::strtoull(hex.c_str(), &end, 16);
        if (hex.empty() || *end != '\0')
            continue;
        if (line.compare(0, eq, "NOMATCH") == 0)
            noMatch = frame;
        else
            list.push_back({line.substr(0, eq), frame});
    }
    return true;
}

int Fail(const std::string& message)
{
    std::cerr << "tavrin-device: " << message << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    DeviceSimulator::Options options;
    options.port = 10001;
    std::vector<DeviceSimulator::Entry> list;
    uint64_t noMatch = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (option == "--count-specials") {
            options.countSpecials = true;
            continue;
        }
        if (i + 1 >= argc)
            return Fail("missing value for " + option);
        const std::string value = argv[++i];
        if (option == "--port") {
            const auto port = Number(value, 1, 65535);
            if (!port)
                return Fail("bad port " + value);
            options.port = static_cast<uint16_t>(*port);
        } else if (option == "--bind") {
            options.bindAddress = value;
        } else if (option == "--version") {
            options.version = value;
        } else if (option == "--mode") {
            const auto mode = Number(value, -1000000, 1000000);
            if (!mode)
                return Fail("bad mode " + value);
            options.mode = static_cast<int>(*mode);
        } else if (option == "--capacity") {
            const auto capacity = Number(value, 0, 65535);
            if (!capacity)
                return Fail("bad capacity " + value);
            options.capacity = static_cast<int>(*capacity);
        } else if (option == "--list") {
            if (!ReadList(value, list, noMatch))
                return Fail("cannot read " + value);
        } else {
            return Fail("unknown option " + option);
        }
    }

    // Ctrl+C and termination are taken by sigwait below, not by a handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        DeviceSimulator device(options);
        device.SetList(list);
        device.SetNoMatch(noMatch);
        std::cout << "tavrin-device listening on " << device.Address() << ":" << device.Port()
                  << " (version " << options.version << ", mode " << options.mode << ", capacity "
                  << options.capacity << ", " << list.size() << " plates); Ctrl+C stops it"
                  << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        std::cout << "stopped with " << device.List().size() << " entries stored" << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "tavrin-device: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
