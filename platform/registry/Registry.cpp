#include "platform/registry/Registry.h"

#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "platform/text/TextLines.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::string testFileName;

const char* const kStringType = "REG_SZ";
const char* const kExpandStringType = "REG_EXPAND_SZ";

// One line of the store: a key, or a value of a key.
struct Entry {
    std::string path;
    std::optional<std::string> name;  // none: the line names a key
    std::string type;
    std::string data;
};

// Control characters and '%' as %XX, so every entry stays on one line and the
// fields can be split at tabs.
std::string Escape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 || c == '%')
            out += Format("%%%.2x", static_cast<int>(b));
        else
            out += c;
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> SplitTabs(std::string_view line)
{
    std::vector<std::string> fields;
    size_t from = 0;
    for (;;) {
        const auto tab = line.find('\t', from);
        fields.push_back(Unescape(line.substr(from, tab - from)));
        if (tab == std::string::npos)
            return fields;
        from = tab + 1;
    }
}

// Without the separators at either end and with runs of "\" made one.
std::string NormalPath(const std::string& path)
{
    std::string out;
    for (const char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

// The store holds what a few edits keep; a far larger file is not this program's store and
// is not parsed (each line of a few bytes would cost an entry of a hundred).
constexpr uint64_t kMaxStoreSize = 1 << 20;

// A store that cannot be read (or is too large to be this program's) reads as empty,
// unless the entries are loaded for a change: writing them back would replace the whole
// store.
std::vector<Entry> Load(bool forChange = false)
{
    std::vector<Entry> entries;
    std::string bytes;
    try {
        bytes = ReadFileBytes(RegistryFileName(), kMaxStoreSize);
    } catch (const EError&) {
        if (forChange && FileExists(RegistryFileName()))
            throw;
        return entries;  // no store yet
    }
    for (const std::string_view line : TTextLines(bytes)) {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() == 2 && f[0] == "K")
            entries.push_back({f[1], std::nullopt, {}, {}});
        else if (f.size() == 5 && f[0] == "V")
            entries.push_back({f[1], f[2], f[3], f[4]});
    }
    return entries;
}

void Save(const std::vector<Entry>& entries)
{
    std::string bytes;
    for (const Entry& e : entries) {
        if (e.name)
            bytes += "V\t" + Escape(e.path) + "\t" + Escape(*e.name) + "\t" + Escape(e.type) +
                     "\t" + Escape(e.data) + "\n";
        else
            bytes += "K\t" + Escape(e.path) + "\n";
    }
    const std::filesystem::path file(RegistryFileName());
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    WriteFileReplacing(file.string(), bytes);
}

bool KeyExists(const std::vector<Entry>& entries, const std::string& path)
{
    if (path.empty())
        return true;
    for (const Entry& e : entries)
        if (SameTextAscii(e.path, path) ||
            (e.path.size() > path.size() && e.path[path.size()] == '\\' &&
             SameTextAscii(std::string_view(e.path).substr(0, path.size()), path)))
            return true;
    return false;
}

template <typename Entries>
auto* FindValue(Entries& entries, const std::string& path, const std::string& name)
{
    decltype(&entries[0]) none = nullptr;
    for (auto& e : entries)
        if (e.name && SameTextAscii(e.path, path) && SameTextAscii(*e.name, name))
            return &e;
    return none;
}

}  // namespace

std::string RegistryFileName()
{
    if (!testFileName.empty())
        return testFileName;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config) {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : ".") + "/.config";
    }
    return folder + "/tavrin/registry";
}

void SetRegistryFileNameForTesting(std::string fileName)
{
    testFileName = std::move(fileName);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const bool absolute = !key.empty() && key.front() == '\\';
    std::string path = NormalPath(key);
    if (!absolute && !current_.empty() && !path.empty())
        path = current_ + "\\" + path;
    else if (!absolute && path.empty())
        path = current_;
    if (!KeyExists(Load(), path)) {
        if (!canCreate)
            return false;
        try {
            std::vector<Entry> entries = Load(true);
            entries.push_back({path, std::nullopt, {}, {}});
            Save(entries);
        } catch (const EError&) {
            throw ERegistryException(Format("Failed to create key %s", key));
        }
    }
    current_ = path;
    return true;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    const std::vector<Entry> entries = Load();
    return FindValue(entries, current_, name) != nullptr;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    const std::vector<Entry> entries = Load();
    const Entry* e = FindValue(entries, current_, name);
    if (!e)
        return {};
    if (e->type != kStringType && e->type != kExpandStringType)
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    return e->data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    try {
        std::vector<Entry> entries = Load(true);
        if (Entry* e = FindValue(entries, current_, name)) {
            e->type = kStringType;
            e->data = value;
        } else {
            entries.push_back({current_, name, kStringType, value});
        }
        Save(entries);
    } catch (const EError&) {
        throw ERegistryException(Format("Failed to set data for '%s'", name));
    }
}
