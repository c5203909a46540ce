#pragma once

#include "platform/file/FileErrors.h"
#include "platform/file/WritePlan.h"

#include <cstdint>
#include <string>

// Writes bytes over the old bytes of the same file (every name of it sees them), so that a
// failure leaves the old content:
// - before the first byte, all that the write puts on each file system is counted against
//   the room an ordinary user may fill there: on the file's own, the new content where its
//   blocks are copied on write (btrfs and the like) or what the file grows by where they are
//   overwritten in place; a copy of the old bytes goes beside the file, else to the home
//   folder, else to the temporary folder, the first whose file system has room for it (and
//   for the write as well, where that is the file's own). Then the new length is reserved. A
//   refusal there leaves the file as it was with the EFCreateError "Cannot create file
//   "%s". %s";
// - the new bytes are written over the file's start and on disk before the old bytes past
//   them are cut off; any failure writes the old bytes back over what was written, and the
//   old length ("Stream write error"). Where even that is refused, the error says the file
//   may be damaged and names the copy, which is then kept (and told to the caller through
//   kept); otherwise the copy is removed again.
// Nothing is written past the file-size limit (the caller has made sure the new content is
// within it): the copy of an old file above the limit holds the old bytes that the new
// content covers. Where writing clears the set-id bits of the file's mode, its owner gives
// them back. An old file past the reader's bound (kMaxReadBytes) is refused as "File too
// large".
void WriteInPlace(const std::string& fileName, const TFileWritePlan& plan, const std::string& bytes,
                  TKeptCopy* kept);

// 0 when the file systems have the room that an in-place write of length bytes over the old
// file would count before its first byte, else the reason (ENOSPC); nothing is written.
int InPlaceRoomRefusal(const TFileWritePlan& plan, std::uint64_t length);
