#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

// File names are not system text: a name is the file system's bytes (UTF-8 here), carried
// unchanged from the dialog or the program path to every open, stat and rename. Only
// where a person sees one is it decoded, and never through Windows-1252.

QString FileNameToQString(std::string_view fileName);
std::string FileNameFromQString(const QString& fileName);

// A message of system text (Windows-1252) whose "%s" places take, in order, file names or
// the system's own reason texts (which are in the file system's encoding as well), so a
// name reads in the box as the person typed it. "%%" is a percent sign.
QString FileMessage(std::string_view format, std::initializer_list<std::string_view> names);
