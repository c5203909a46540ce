#pragma once

#include <string>

bool FileExists(const std::string& fileName);
// The file name with its extension (from the last '.' after the last '/') replaced.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
// The folder part of a file name: "." for a bare name, "/" for one right under the root.
std::string FolderOf(const std::string& fileName);
