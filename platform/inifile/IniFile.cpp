#include "platform/inifile/IniFile.h"

#include "platform/text/Errors.h"
#include "platform/text/FileName.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/file/FileErrors.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

// The longest text the profile read hands back (its buffer holds 2048 with the NUL).
constexpr std::size_t kMaxRead = 2047;

// A settings file with thousands of device rows holds a few hundred KiB; a far larger file
// is not one of these files and is not read (every line would cost its place).
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{4} << 20;

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName))
{
}

TIniFile::~TIniFile()
{
    if (!pending_)
        return;
    try {
        Save();
    } catch (const EError&) {
    }
}

std::optional<TIniFile::Signature> TIniFile::SignatureOf(const std::string& fileName)
{
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? std::optional(Signature{}) : std::nullopt;
    if (S_ISDIR(info.st_mode))
        return std::nullopt;
    return Signature{true,
                     info.st_dev,
                     info.st_ino,
                     info.st_size,
                     static_cast<int64_t>(info.st_mtim.tv_sec),
                     static_cast<int64_t>(info.st_mtim.tv_nsec)};
}

bool TIniFile::Refresh() const
{
    if (updateDepth_ > 0)
        return batchReadable_;
    // Taken before reading: a change made while we read shows as a new signature next time.
    const auto signature = SignatureOf(fileName_);
    if (signature && loaded_ && *signature == *loaded_)
        return true;
    document_ = TIniDocument();
    loaded_.reset();
    if (!signature)
        return false;
    if (signature->exists) {
        try {
            document_ = TIniDocument(ReadFileBytes(fileName_, kMaxFileBytes));
        } catch (const EError&) {
            return false;
        }
    }
    loaded_ = signature;
    return true;
}

void TIniFile::CheckReadable() const
{
    // Read once more only to raise the reader's own reason.
    if (!Refresh())
        ReadFileBytes(fileName_, kMaxFileBytes);
}

const TIniDocument& TIniFile::Current() const
{
    Refresh();
    return document_;
}

TIniDocument& TIniFile::ForChange()
{
    // Writing over a file we could not read would lose everything in it.
    if (!Refresh())
        ThrowWriteError();
    return document_;
}

void TIniFile::Changed()
{
    if (updateDepth_ > 0)
        pending_ = true;
    else
        Save();
}

void TIniFile::Save()
{
    pending_ = false;
    const std::string bytes = document_.Bytes();
    // A file too large to be read back would be lost to every later run, and never written
    // again: it is not written.
    bool written = bytes.size() <= kMaxFileBytes;
    TKeptCopy kept;
    if (written) {
        try {
            WriteFileReplacing(fileName_, bytes, &kept);
        } catch (const EError&) {
            written = false;
        }
    }
    if (!written) {
        loaded_.reset();  // the change is not on disk: read the disk again next time
        // Where the file may be damaged, the box names the copy of its old content.
        if (!kept.name.empty())
            throw EError(FileMessage("Unable to write to %s; ", {fileName_}) + KeptCopyText(kept));
        ThrowWriteError();
    }
    loaded_ = SignatureOf(fileName_);
}

void TIniFile::ThrowWriteError() const
{
    throw EError(FileMessage("Unable to write to %s", {fileName_}));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const
{
    auto value = Current().Value(section, key);
    if (!value)
        return def;
    if (value->size() >= 2 && IsQuote(value->front()) && value->back() == value->front())
        *value = value->substr(1, value->size() - 2);
    if (value->size() > kMaxRead)
        value->resize(kMaxRead);
    return *value;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const
{
    return StrToIntDef(ReadString(section, key, ""), def);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    return Current().Keys(section);
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const
{
    return Current().Lines(section);
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return !ReadSection(section).empty();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return Current().Value(section, key).has_value();
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    if (ForChange().SetValue(section, key, value))
        Changed();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, Format("%d", value));
}

void TIniFile::EraseSection(const std::string& section)
{
    if (ForChange().EraseSection(section))
        Changed();
}

void TIniFile::AddSection(const std::string& section)
{
    if (ForChange().AddSection(section))
        Changed();
}

void TIniFile::BeginUpdate()
{
    if (updateDepth_ == 0)
        batchReadable_ = Refresh();
    ++updateDepth_;
}

void TIniFile::EndUpdate()
{
    if (updateDepth_ == 0)
        return;
    if (--updateDepth_ == 0 && pending_)
        Save();
}
