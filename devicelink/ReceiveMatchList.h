#pragma once

class IDeviceCommandContext;
class TDeviceConnection;

// "Receive match-list": replaces the match list with every entry and the no-match value of
// the first selected device, once the device has answered its list-size query (QLS); a
// receive that fails later keeps the entries read so far. The session's end stops it at
// its next exchange, and then, as after a receive that ended only after the session's
// end, the list is the one from before it. UpdateUI runs on every path; a connect failure
// escapes as ESocketError after it.
void ReceiveMatchList(TDeviceConnection& connection, IDeviceCommandContext& context);
