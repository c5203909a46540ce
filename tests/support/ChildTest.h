#pragma once

#include <string>

// The current test run once more by a child process of this test program, for what only a
// real process shows: a program file in a folder of any bytes, or what an ordinary user
// meets (permissions stop nothing for root).

// True in the child: the test does its work there.
bool InChildTest();
// Links this test program to programFile, or copies it there across file systems.
void PlaceProgram(const std::string& programFile);
// Why the user nobody could not start program in workingFolder (empty: this process's
// folder, which the child keeps without entering it), or empty when it can.
std::string WhyNobodyCannotStart(const std::string& program, const std::string& workingFolder);
// Runs the current test in a child, the test program linked (or copied) to programFile and
// started from there (empty: where it is), in workingFolder (empty: this one), as the user
// nobody where ordinaryUser is set and this process runs as root. The child's failures
// fail this test, and a child that skips the test skips it here too; where nobody could
// not start it, the test is skipped and says why.
void RunInChildTest(const std::string& programFile, const std::string& workingFolder,
                    bool ordinaryUser = false);

// How a child run of the current test ended, for a test that expects it to end otherwise
// than by passing (a signal that ends it at once).
struct ChildTestEnd {
    int exitCode = -1;  // -1 when a signal ended it
    int signal = 0;     // the signal that ended it, or 0
    std::string output;
};
// Runs the current test in a child where it is, from this folder, and tells how it ended.
// The signals of a session's end start at their defaults, whatever this process ignores.
ChildTestEnd RunChildTest();
// As root, runs the current test as nobody in a child (or skips it, saying why nobody
// cannot) and returns true: the caller returns, and the child's result is the test's.
// Otherwise false: the test goes on here.
bool RanAsOrdinaryUser();
