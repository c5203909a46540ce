#pragma once

#include "netsetup/TSetupRecord.h"

#include <cstdint>

class IDeviceListHost;
class TLantronixConfig;

// Sets field to value and changed to true when they differ; never clears changed.
void SetByteIfChanged(uint8_t& field, uint8_t value, bool& changed);
void SetWordIfChanged(uint16_t& field, uint16_t value, bool& changed);

// Puts the fixed initial configuration into record (data port 10001 among it), leaving
// every other byte alone; true when any byte differed.
bool ApplyInitialConfig(TSetupRecord& record);

// Initialize config for the selected device row: reads the module's setup record, and
// writes it back (type FA) only when the fixed configuration changed anything. Reports the
// outcome in a box; a socket failure during the write travels on to the caller. Does
// nothing when no row is selected.
void InitializeConfig(IDeviceListHost& host, TLantronixConfig& config);
