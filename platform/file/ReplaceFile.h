#pragma once

#include <string>

// Replaces the file with bytes as the person left it would have it: written to a
// temporary file beside it (under a short name of its own) and renamed over the old one
// only when complete, so a failure leaves the old file as it was and no temporary file
// behind. A symbolic link is written through to the file it names and stays a link; the
// file keeps its mode and, where the process may keep it, its owner. An existing file the
// person may not write is refused as an in-place write would be. A file of several names
// (hard links), and a writable file in a folder that takes no temporary file, is written in
// place, so every name sees the new bytes: its new length is made sure of first (file-size
// limit, disk space), and a refusal leaves the old bytes untouched. Raises EFCreateError
// "Cannot create file "%s". %s" when the file cannot be created or its length not
// reserved, and "Stream write error" when it cannot be written to the end.
void WriteFileReplacing(const std::string& fileName, const std::string& bytes);
