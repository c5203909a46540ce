#pragma once

#include <string>
#include <sys/stat.h>

// Gives the new file (open as fd) all that decides who may reach the old one: its extended
// attributes and ACL, then its owner and group, then its mode (a change of owner clears the
// set-id bits). false where any of them does not take: the new file would then be open to
// others than the old one, or shut to some who could reach it.
bool CarryPermissions(const std::string& oldFile, const struct stat& old, int fd);

// Gives the file (open as fd) the mode again where writing it cleared its set-id bits: the
// system clears them when a process without CAP_FSETID writes a file. false where the mode
// could not be given (only the file's owner may give it).
bool GiveModeBack(int fd, mode_t mode);
