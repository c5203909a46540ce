#pragma once

#include "platform/inifile/IniDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The operating system's initialisation-file functions behind the class library's ini-file
// object. Section and key names compare without case (a-z) and lose the blanks around
// them, as values do; bytes are kept as they are. Reading never fails: a missing or
// unreadable file reads as empty, and so does one above 4 MiB. Every write goes to disk at
// once (through a temporary file renamed over the old one) and raises EError "Unable to
// write to %s" when it cannot, when the file could not be read (writing would lose what it
// holds) or when the file would grow above 4 MiB. Where a failed write may have damaged the
// file, the error goes on to name the copy of its old content that the writer kept, as
// KeptCopyText says it: "Unable to write to %s; its old content is kept whole in %s".
class TIniFile final {
public:
    explicit TIniFile(std::string fileName);
    // Writes what a batch left pending when an exception skipped EndUpdate; a failure here
    // is dropped, the exception already on its way is the one reported.
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }
    // Raises the reader's EFOpenError "Cannot open file "%s". %s" when the file is there but
    // cannot be read (its values then read as missing); a missing file is no error.
    void CheckReadable() const;

    // At most 2047 characters come back; one pair of surrounding quotes (" or ') is dropped.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // The integer reading rule at 32 bits; an unreadable value gives def.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    // The section's keys in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The section's lines in file order as "key=value" (a line without '=' as it is),
    // blank lines and ';' comments left out; quotes are not dropped here.
    std::vector<std::string> ReadSectionValues(const std::string& section) const;
    // As the class library has it: a section exists when it holds at least one key.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // A new key goes to the end of its section, a new section to the end of the file. A
    // value (or name) ends at its first CR or LF, so it can never add a line of its own.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    // Removes the section (every section of that name) with its lines.
    void EraseSection(const std::string& section);
    // Writes the section's heading at the end of the file when it is not there, so a
    // section stands in the file even while it holds no key.
    void AddSection(const std::string& section);

    // Between BeginUpdate and the matching EndUpdate writes stay in memory; EndUpdate
    // writes the file once, raising "Unable to write to %s" as a single write would.
    // Saving a thousand keys then rewrites the file once instead of a thousand times.
    void BeginUpdate();
    void EndUpdate();

private:
    // Identifies the file's content on disk, so an unchanged file is not parsed again.
    struct Signature {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        int64_t modifiedSeconds = 0;
        int64_t modifiedNanoseconds = 0;
        bool operator==(const Signature&) const = default;
    };

    // Brings document_ up to the disk unless a batch holds it; false when the file is
    // there but cannot be read (document_ is then empty).
    bool Refresh() const;
    const TIniDocument& Current() const;
    TIniDocument& ForChange();
    void Changed();
    void Save();
    [[noreturn]] void ThrowWriteError() const;
    static std::optional<Signature> SignatureOf(const std::string& fileName);

    std::string fileName_;
    mutable TIniDocument document_;
    mutable std::optional<Signature> loaded_;  // none: document_ does not mirror the disk
    int updateDepth_ = 0;
    bool batchReadable_ = true;
    bool pending_ = false;
};
