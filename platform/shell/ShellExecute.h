#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

// The shell's "open" of a program. Every program the system starts this way is a console
// program ("ping.exe", "telnet.exe"); here it runs in the desktop's terminal emulator
// ("x-terminal-emulator -e", else "xterm -e"). The ".exe" ending (and blanks around the
// name) is dropped; the parameters are split at blanks, as the console program's own
// command line would be. The owner is taken as the system's call takes it: the terminal
// window is a window of its own here.
//
// Returns a value above 32 when the program started; otherwise 32 or less (2 when the
// program or the terminal emulator is not found) and LastErrorMessage tells why.
intptr_t ShellExecute(QWidget* owner, const std::string& operation, const std::string& file,
                      const std::string& parameters);

// The system's message text for the error of the last ShellExecute that failed on this
// thread.
std::string LastErrorMessage();

// Starts a console command (the program, then its arguments) in a terminal window without
// waiting for it; 0 when it started, otherwise the errno why not.
using ConsoleLauncher = std::function<int(const std::vector<std::string>& command)>;

// Tests install a launcher that records the command instead of running it, so that no test
// ever starts a real program; an empty launcher puts the real one back.
void SetConsoleLauncherForTesting(ConsoleLauncher launcher);
