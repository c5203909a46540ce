#pragma once

namespace quantivo {

// Tavrin Calculator from its windows to its end, on the running QApplication: the main
// window, then the about box, the message loop until the main window closes, then the
// main window's end, which writes the settings file. Returns the message loop's result,
// or 1 when the windows could not be made.
int RunProgram();

}  // namespace quantivo
