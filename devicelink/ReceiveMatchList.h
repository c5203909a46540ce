#pragma once

class IDeviceCommandContext;
class TDeviceConnection;

// "Receive match-list": empties the match list, then reads every entry and the no-match
// value of the first selected device into it. UpdateUI runs on every path; a connect
// failure escapes as ESocketError after it.
void ReceiveMatchList(TDeviceConnection& connection, IDeviceCommandContext& context);
