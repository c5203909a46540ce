#pragma once

#include <string>

bool FileExists(const std::string& fileName);
// The file name with its extension (from the last '.' after the last '/') replaced.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
