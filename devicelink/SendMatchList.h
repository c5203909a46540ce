#pragma once

#include <string>

class IDeviceCommandContext;
class TDeviceConnection;
class TProgressSteps;

// The whole transfer of the match list to one device: information and checks, CLS, the
// plate entries as lines (fewer than 4) or blocks, the special entries, the count check.
// True only when every step succeeded. A connect failure escapes as ESocketError.
bool SendMatchList(TDeviceConnection& connection, IDeviceCommandContext& context,
                   TProgressSteps& progress, const std::string& host);

// "Send match-list": SendMatchList to every selected device in list order, stopping after
// the first that fails, with the hourglass and the progress bar. Once the session has ended
// (ui::SessionEnding) the device under way is finished and no further one begun.
void SendMatchListToSelected(TDeviceConnection& connection, IDeviceCommandContext& context);
