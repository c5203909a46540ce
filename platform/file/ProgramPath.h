#pragma once

#include <string>

// The running program's full file name, as the file system's bytes. The files that live
// beside the program (settings, list file) are named after it.
std::string ProgramFileName();

// The running program's own file as the system names it, whatever ProgramFileName says.
std::string RunningProgramFileName();

// Test hook: makes ProgramFileName give fileName (say, a name in a temporary folder);
// empty text gives the real one again.
void SetProgramFileNameForTesting(std::string fileName);
