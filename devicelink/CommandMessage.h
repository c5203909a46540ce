#pragma once

#include "platform/ui/Ui.h"

#include <string>

// Lets the window's pending messages through. A device command keeps the window from its
// messages while it waits on the device; a close the person asked for meanwhile is still
// queued then. It must reach the window, which puts it off until the command has ended,
// before a box blocks the window: a window blocked by a box drops the window system's close
// requests.
void LetPendingMessagesThrough();

// Every box of a device command: the pending messages first, then the box.
ui::Result ShowCommandMessage(ui::MsgKind kind, const std::string& text,
                              ui::Buttons buttons = ui::Buttons::OK);
