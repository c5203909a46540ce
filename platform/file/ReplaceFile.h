#pragma once

#include "platform/file/FileErrors.h"

#include <cstdint>
#include <string>

// Replaces the file with bytes as the person left it would have it: written to a
// temporary file beside it (under a short name of its own, readable by its owner only
// until it has the old file's permissions) and renamed over the old one only when
// complete, so a failure leaves the old file as it was and no temporary file behind. A
// symbolic link is written through to the file it names and stays a link; the file keeps
// its extended attributes, ACL, owner and mode. An existing file the person may not write is
// refused as an in-place write would be. A file is written in place (WriteInPlace: the old
// content stays on failure) where a replacement would lose something: a file of several
// names (hard links), a writable file in a folder that takes no temporary file, a file of
// another user (whom only root may give a file; a sticky folder refuses that rename too),
// and a file whose permissions do not take on a new file. Raises EFCreateError "Cannot
// create file "%s". %s" where the file cannot be created or a limit is known before the
// first byte (a file-size limit below the new content, however long the old file is: "File
// too large"; too little room for an in-place write), and "Stream write error" where it
// cannot be written to the end; where that leaves the file possibly damaged, kept (if
// given) names the copy of its old bytes. The signals of a session's end wait until the
// file is whole or given back (EndSignalsHeld). Set-id bits of the mode that writing cleared
// are given again (replaced: before the rename).
void WriteFileReplacing(const std::string& fileName, const std::string& bytes,
                        TKeptCopy* kept = nullptr);

// Asks what WriteFileReplacing asks before it writes new content of length bytes (the file
// type, whether the person may write the file or its folder, the folder still there, the
// file-size limit, and in place the room of the file systems), and raises the same
// EFCreateError where the answer is no; nothing is written.
void CheckFileWritable(const std::string& fileName, std::uint64_t length);
