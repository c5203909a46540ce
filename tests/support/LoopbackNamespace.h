#pragma once

// True only inside tests/support/in-netns, and only when the loopback is the one interface
// here: then a broadcast cannot leave the machine.
bool InLoopbackOnlyNamespace();
