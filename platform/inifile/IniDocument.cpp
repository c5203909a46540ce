#include "platform/inifile/IniDocument.h"

#include "platform/text/TextCase.h"
#include "platform/text/TextFile.h"

#include <algorithm>
#include <utility>

namespace {

bool IsComment(const std::string& name)
{
    return !name.empty() && name[0] == ';';
}

std::string_view OneLine(std::string_view text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

std::string KeyLine(std::string_view name, std::string_view value)
{
    std::string line(name);
    line += '=';
    line += value;
    return line;
}

}  // namespace

TIniDocument::TIniDocument(const std::string& bytes)
{
    sections_.emplace_back();
    // A NUL byte is kept as a byte: ending the text there would drop the rest of the file
    // on the next write.
    for (const std::string& line : SplitLinesKeepingNul(bytes))
        AddLine(line);
}

void TIniDocument::AddLine(const std::string& line)
{
    const std::string text = Trim(line);
    const std::size_t close = text.rfind(']');
    if (!text.empty() && text[0] == '[' && close != std::string::npos) {
        Section section;
        section.name = Trim(std::string_view(text).substr(1, close - 1));
        sections_.push_back(std::move(section));
        sections_.back().entries.push_back({line, {}, {}, false});
        return;
    }
    Section& section = sections_.back();
    Entry entry{line, text, {}, false};
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) {
        entry.name = Trim(std::string_view(text).substr(0, equals));
        entry.value = Trim(std::string_view(text).substr(equals + 1));
        entry.isKey = true;
        section.index.try_emplace(UpperCaseAscii(entry.name), section.entries.size());
    }
    section.entries.push_back(std::move(entry));
}

std::string TIniDocument::Bytes() const
{
    std::string bytes;
    for (const Section& section : sections_) {
        for (const Entry& entry : section.entries) {
            bytes += entry.raw;
            bytes += "\r\n";
        }
    }
    return bytes;
}

const TIniDocument::Section* TIniDocument::Find(std::string_view name) const
{
    const std::string wanted = Trim(name);
    for (std::size_t i = 1; i < sections_.size(); ++i) {
        if (SameTextAscii(sections_[i].name, wanted))
            return &sections_[i];
    }
    return nullptr;
}

TIniDocument::Section* TIniDocument::Find(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).Find(name));
}

std::optional<std::size_t> TIniDocument::FindKey(const Section& section, std::string_view key)
{
    const auto found = section.index.find(UpperCaseAscii(Trim(key)));
    if (found == section.index.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> TIniDocument::Value(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    const auto i = FindKey(*s, key);
    if (!i)
        return std::nullopt;
    return s->entries[*i].value;
}

std::vector<std::string> TIniDocument::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    if (const Section* s = Find(section)) {
        for (const Entry& entry : s->entries) {
            if (entry.isKey && !IsComment(entry.name))
                keys.push_back(entry.name);
        }
    }
    return keys;
}

std::vector<std::string> TIniDocument::Lines(std::string_view section) const
{
    std::vector<std::string> lines;
    if (const Section* s = Find(section)) {
        // The header line is entry 0.
        for (std::size_t i = 1; i < s->entries.size(); ++i) {
            const Entry& entry = s->entries[i];
            if (entry.name.empty() && !entry.isKey)
                continue;
            if (IsComment(entry.name))
                continue;
            lines.push_back(entry.isKey ? KeyLine(entry.name, entry.value) : entry.name);
        }
    }
    return lines;
}

TIniDocument::Section& TIniDocument::FindOrAdd(std::string_view name)
{
    if (Section* s = Find(OneLine(name)))
        return *s;
    sections_.push_back(Section{Trim(OneLine(name)), {}, {}});
    Section& s = sections_.back();
    s.entries.push_back({"[" + s.name + "]", {}, {}, false});
    return s;
}

bool TIniDocument::AddSection(std::string_view section)
{
    const std::size_t count = sections_.size();
    FindOrAdd(section);
    return sections_.size() != count;
}

bool TIniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string name = Trim(OneLine(key));
    const std::string text = Trim(OneLine(value));
    Section& s = FindOrAdd(section);
    if (const auto i = FindKey(s, name)) {
        Entry& entry = s.entries[*i];
        if (entry.value == text)
            return false;
        entry.value = text;
        entry.raw = KeyLine(entry.name, text);
        return true;
    }
    // After the section's last line that is not blank, so a blank line before the next
    // section stays where it was. Only blank lines move, so no key's index changes.
    std::size_t at = s.entries.size();
    while (at > 1 && Trim(s.entries[at - 1].raw).empty())
        --at;
    s.entries.insert(s.entries.begin() + static_cast<std::ptrdiff_t>(at),
                     Entry{KeyLine(name, text), name, text, true});
    s.index.emplace(UpperCaseAscii(name), at);
    return true;
}

bool TIniDocument::EraseSection(std::string_view section)
{
    const std::string wanted = Trim(section);
    const auto named = [&](const Section& s) { return SameTextAscii(s.name, wanted); };
    const auto end = std::remove_if(sections_.begin() + 1, sections_.end(), named);
    const bool erased = end != sections_.end();
    sections_.erase(end, sections_.end());
    return erased;
}
