#pragma once

#include <string>

// The running program's full file name, as the file system's bytes. The files that live
// beside the program (settings, list file) are named after it; the name first found stays
// for the whole run, even when the program file is replaced meanwhile. Raises EError "Cannot find
// the program's own file. %s" (the system's reason) where the system does not tell it: no
// file is then read or written, rather than one in the current folder.
std::string ProgramFileName();

// The running program's own file as the system names it (/proc/self/exe), whatever
// ProgramFileName says; empty where the system does not tell it.
std::string RunningProgramFileName();

// Test hooks: makes ProgramFileName give fileName (say, a name in a temporary folder), and
// makes the system's answer come from the symbolic link `link` instead of /proc/self/exe.
// Empty text gives the real one again.
void SetProgramFileNameForTesting(std::string fileName);
void SetProgramLinkForTesting(std::string link);
