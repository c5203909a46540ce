#pragma once

#include "simulators/LoopbackNamespace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

// Bounds the memory a socket may take for its options, its filter among them
// (net.core.optmem_max), for the life of the object: the system then refuses a filter
// longer than fits. Only inside the test's own network namespace (tests/support/in-netns),
// and only where the bound is the namespace's own: older kernels keep one bound for the
// whole machine and do not show it in another namespace.
class SocketOptionMemory final {
public:
    // 0, the system as it is, and where they can be set bounds at which the system refuses
    // a socket's filter, or a longer one: 512 bytes hold a few exclusions, 256 a filter
    // without any, 128 none at all.
    static std::vector<int> Bounds()
    {
        if (!InLoopbackOnlyNamespace() || !std::ifstream(kPath).good())
            return {0};
        return {0, 512, 256, 128};
    }

    // 0 leaves the system as it is.
    explicit SocketOptionMemory(int bytes) : before_(bytes == 0 ? 0 : Read())
    {
        if (bytes == 0)
            return;
        Write(bytes);
        EXPECT_EQ(Read(), bytes) << kPath;
    }
    ~SocketOptionMemory()
    {
        if (before_ != 0)
            Write(before_);
    }
    SocketOptionMemory(const SocketOptionMemory&) = delete;
    SocketOptionMemory& operator=(const SocketOptionMemory&) = delete;

private:
    static constexpr const char* kPath = "/proc/sys/net/core/optmem_max";

    static int Read()
    {
        int bytes = 0;
        std::ifstream(kPath) >> bytes;
        return bytes;
    }
    static void Write(int bytes) { std::ofstream(kPath) << bytes; }

    int before_;
};
