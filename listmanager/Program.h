#pragma once

namespace pellicor {

// Tavrin List from its windows to its end, on the running QApplication: the windows in
// their start order (the main window first, its start-up running as it is created), the
// message loop until the main window closes, then the settings and the list file written.
// Returns the message loop's result.
int RunProgram();

}  // namespace pellicor
