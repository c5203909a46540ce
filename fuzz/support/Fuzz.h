#pragma once

#include "fuzz/support/AnsweringUi.h"

#include <string>
#include <string_view>

// What the fuzz targets share. A target that reaches a window, a socket, a name look-up or
// the Ui door calls StartApplication from LLVMFuzzerInitialize.
namespace fuzz {

// Stops the run as a finding when a property the system relies on does not hold.
void Require(bool holds, const char* property);

// Once: an offscreen QApplication; searches and address assignments sent to the loopback,
// never broadcast on the machine's network; a resolver that asks no name server (numeric
// hosts resolve to themselves, names to nothing); Answers() as the Ui.
void StartApplication();

AnsweringUi& Answers();

// Writes the bytes as the file `name` in a folder of this process (on a memory file system
// where there is one, so that writes with fsync stay quick) and gives its path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);
// The path of `name` in that folder; creates nothing.
std::string ScratchPath(const std::string& name);

}  // namespace fuzz
