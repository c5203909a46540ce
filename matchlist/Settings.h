#pragma once

#include <string>

class ISettingsHost;

// The settings file beside the program: sections "options" (list-file separator and quote
// character), "wiegand" (the format controls) and "hostlist" (one hostname=ip-address line
// per device row). What is missing or unreadable takes its default.

// Sets the window from the file, adding the stored device rows (resolving what each lacks),
// and clears Modified last, also when a step fails. A file that is there but cannot be read
// raises the reader's EFOpenError "Cannot open file "%s". %s" and sets nothing.
void LoadSettings(ISettingsHost& host, const std::string& fileName);

// Writes the window's settings in one rewrite of the file; the section "platelist" goes.
// Raises "Unable to write to %s" when the file cannot be written, leaving it as it was.
void SaveSettings(ISettingsHost& host, const std::string& fileName);
