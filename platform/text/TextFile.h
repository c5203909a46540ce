#pragma once

#include <string>
#include <vector>

// Files are bytes: no conversion, no byte-order mark.

// Reads the whole file; raises EFOpenError "Cannot open file "%s". %s" when it cannot.
std::string ReadFileBytes(const std::string& fileName);

// Replaces the file with bytes: written to a temporary file beside it and renamed over
// the old one only when complete, so a failure leaves the old file as it was.
// Raises EFCreateError "Cannot create file "%s". %s" when the file cannot be created
// and "Stream write error" when it cannot be written to the end.
void WriteFileReplacing(const std::string& fileName, const std::string& bytes);

// Lines end at CR, LF or CR LF; a NUL byte ends the text; a last line without a line
// break is kept; a final line break does not start another line.
std::vector<std::string> SplitLines(const std::string& bytes);
// The same without the NUL rule, for files that must come back whole when rewritten.
std::vector<std::string> SplitLinesKeepingNul(const std::string& bytes);

bool FileExists(const std::string& fileName);
// The file name with its extension (from the last '.' after the last '/') replaced.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
