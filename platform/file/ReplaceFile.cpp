#include "platform/file/ReplaceFile.h"

#include "platform/signals/EndSignals.h"
#include "platform/file/FileCalls.h"
#include "platform/file/FileErrors.h"
#include "platform/file/InPlaceWrite.h"
#include "platform/file/PermissionCopy.h"
#include "platform/file/TemporaryFile.h"
#include "platform/file/WritePlan.h"

#include <cerrno>
#include <unistd.h>

namespace {

// Through a temporary file renamed over the target; false, with nothing changed, where the
// new file could not be given all of the old one's permissions: the caller then writes in
// place rather than open the file wider or shut anybody out.
bool ReplaceThroughTemporaryFile(const std::string& fileName, const TFileWritePlan& plan,
                                 const std::string& bytes)
{
    TemporaryFile temporary(plan.target, plan.exists);
    if (temporary.Error())
        ThrowCreateError(fileName, ErrorText(temporary.Error()));
    FileDescriptor& fd = temporary.Descriptor();
    if (plan.exists && !CarryPermissions(plan.target, plan.old, fd.get()))
        return false;
    const bool written = WriteWholeFile(fd.get(), bytes);
    // Writing has the system clear the set-id bits where the process lacks CAP_FSETID; the
    // mode is given again before the new file takes the old one's place.
    if (written && plan.exists && !GiveModeBack(fd.get(), plan.old.st_mode))
        return false;
    if (::close(fd.release()) != 0 || !written)
        ThrowWriteError();
    if (const int error = temporary.RenameTo(plan.target))
        ThrowCreateError(fileName, ErrorText(error));
    return true;
}

// The plan of the write, which the file-size limit lets reach length bytes: it counts the new
// content only, however long the old file is.
TFileWritePlan PlanWriteOf(const std::string& fileName, std::uint64_t length)
{
    TFileWritePlan plan = PlanFileWrite(fileName);
    if (const int refusal = FileSizeRefusal(length))
        ThrowCreateError(fileName, ErrorText(refusal));
    return plan;
}

}  // namespace

void CheckFileWritable(const std::string& fileName, std::uint64_t length)
{
    const TFileWritePlan plan = PlanWriteOf(fileName, length);
    if (plan.inPlace)
        if (const int refusal = InPlaceRoomRefusal(plan, length))
            ThrowCreateError(fileName, ErrorText(refusal));
}

void WriteFileReplacing(const std::string& fileName, const std::string& bytes, TKeptCopy* kept)
{
    const EndSignalsHeld held;
    const TFileWritePlan plan = PlanWriteOf(fileName, bytes.size());
    if (!plan.inPlace && ReplaceThroughTemporaryFile(fileName, plan, bytes))
        return;
    WriteInPlace(fileName, plan, bytes, kept);
}
