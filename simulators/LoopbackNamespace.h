#pragma once

// True only inside tests/support/in-netns, and only when the loopback is the one interface
// here: then a broadcast cannot leave the machine. Tests and benchmarks that broadcast ask
// it first.
bool InLoopbackOnlyNamespace();
