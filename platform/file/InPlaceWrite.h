#pragma once

#include "platform/file/WritePlan.h"

#include <string>

// Writes bytes over the old bytes of the same file (every name of it sees them), so that a
// failure leaves the old content, also where the file system reserves nothing for the
// blocks it overwrites (copy-on-write):
// - before the first byte: the file-size limit, the free space the whole new content needs,
//   a whole copy of the old bytes (beside the file, else in the home folder, else in the
//   temporary folder) and the new length reserved; a refusal there leaves the file as it was
//   with the EFCreateError "Cannot create file "%s". %s";
// - after it, any failure writes the old bytes and the old length back ("Stream write
//   error"); where even that is refused, the error says the file may be damaged and names the
//   copy, which is then kept. Otherwise the copy is removed again.
// An old file past the reader's bound (kMaxReadBytes) is refused as "File too large".
void WriteInPlace(const std::string& fileName, const TFileWritePlan& plan,
                  const std::string& bytes);
