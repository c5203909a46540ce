#pragma once

#include "simulators/LoopbackNamespace.h"

#include <gtest/gtest.h>

#include <fstream>

// Bounds the memory a socket may take for its options, its filter among them
// (net.core.optmem_max), for the life of the object: the system then refuses a filter
// longer than fits. Only inside the test's own network namespace (tests/support/in-netns),
// and only where the bound is the namespace's own: older kernels keep one bound for the
// whole machine and do not show it in another namespace.
class SocketOptionMemory final {
public:
    static bool Settable() { return InLoopbackOnlyNamespace() && std::ifstream(kPath).good(); }

    explicit SocketOptionMemory(int bytes) : before_(Read())
    {
        Write(bytes);
        EXPECT_EQ(Read(), bytes) << kPath;
    }
    ~SocketOptionMemory() { Write(before_); }
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
