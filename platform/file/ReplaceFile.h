#pragma once

#include <string>

// Replaces the file with bytes as the person left it would have it: written to a
// temporary file beside it and renamed over the old one only when complete, so a failure
// leaves the old file as it was and no temporary file behind. A symbolic link is written
// through to the file it names and stays a link; the file keeps its mode and, where the
// process may keep it, its owner. An existing file the person may not write is refused as
// an in-place write would be; where the folder takes no temporary file, a writable file is
// written in place. Raises EFCreateError "Cannot create file "%s". %s" when the file
// cannot be created and "Stream write error" when it cannot be written to the end.
void WriteFileReplacing(const std::string& fileName, const std::string& bytes);
