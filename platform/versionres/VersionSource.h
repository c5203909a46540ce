#pragma once

#include "platform/versionres/VersionNode.h"

#include <string>

namespace versionres {

// A program's version block is written from a small text source (resources/*.version):
//   # comment
//   Translation=0413 04E4          language and code page, four hexadecimal digits each
//   FileVersion=1.13.0.0           also the fixed part's file version (up to four numbers)
//   ProductVersion=1.13            also the fixed part's product version
//   FileDescription=Tavrin List    every other Key=Value line is a string of the table
// Strings keep the order of the source. Text is Windows-1252.
// Raises EError naming the line when the source is not of this form.
VersionNode ParseVersionSource(const std::string& source);

}  // namespace versionres
