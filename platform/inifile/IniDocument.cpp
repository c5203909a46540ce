#include "platform/inifile/IniDocument.h"

#include "platform/text/TextCase.h"
#include "platform/text/TextLines.h"

#include <algorithm>
#include <utility>

namespace {

// What a line says is read from its text without the blanks around it.
bool IsComment(std::string_view text)
{
    return !text.empty() && text[0] == ';';
}

// "[name]": the name, blanks around it dropped.
std::optional<std::string> HeadingName(std::string_view text)
{
    const std::size_t close = text.rfind(']');
    if (text.empty() || text[0] != '[' || close == std::string_view::npos)
        return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

struct TKey {
    std::string name;
    std::string value;
};

// A line that is no heading and holds '=' is a key.
std::optional<TKey> KeyOf(std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return TKey{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
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

TIniDocument::TIniDocument(std::string bytes) : text_(std::move(bytes))
{
    sections_.emplace_back();
    // A NUL byte is kept as a byte: ending the text there would drop the rest of the file
    // on the next write.
    for (const std::string_view line : TTextLines(text_))
        AddLine({static_cast<std::size_t>(line.data() - text_.data()), line.size()});
}

std::string_view TIniDocument::Text(Line line) const
{
    return std::string_view(text_).substr(line.start, line.size);
}

TIniDocument::Line TIniDocument::Keep(std::string_view line)
{
    const Line kept{text_.size(), line.size()};
    text_ += line;
    return kept;
}

void TIniDocument::AddLine(Line line)
{
    const std::string text = Trim(Text(line));
    if (std::optional<std::string> name = HeadingName(text)) {
        sections_.push_back(Section{std::move(*name), {line}, {}});
        return;
    }
    Section& section = sections_.back();
    if (const std::optional<TKey> key = KeyOf(text))
        section.index.try_emplace(UpperCaseAscii(key->name), section.lines.size());
    section.lines.push_back(line);
}

std::string TIniDocument::Bytes() const
{
    std::string bytes;
    for (const Section& section : sections_) {
        for (const Line line : section.lines) {
            bytes += Text(line);
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
    return KeyOf(Trim(Text(s->lines[*i])))->value;
}

std::vector<std::string> TIniDocument::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    if (const Section* s = Find(section)) {
        // The heading is line 0.
        for (std::size_t i = 1; i < s->lines.size(); ++i) {
            const std::string text = Trim(Text(s->lines[i]));
            if (std::optional<TKey> key = KeyOf(text); key && !IsComment(text))
                keys.push_back(std::move(key->name));
        }
    }
    return keys;
}

std::vector<std::string> TIniDocument::Lines(std::string_view section) const
{
    std::vector<std::string> lines;
    if (const Section* s = Find(section)) {
        for (std::size_t i = 1; i < s->lines.size(); ++i) {
            std::string text = Trim(Text(s->lines[i]));
            if (text.empty() || IsComment(text))
                continue;
            const std::optional<TKey> key = KeyOf(text);
            lines.push_back(key ? KeyLine(key->name, key->value) : std::move(text));
        }
    }
    return lines;
}

TIniDocument::Section& TIniDocument::FindOrAdd(std::string_view name)
{
    if (Section* s = Find(OneLine(name)))
        return *s;
    std::string trimmed = Trim(OneLine(name));
    const Line heading = Keep("[" + trimmed + "]");
    sections_.push_back(Section{std::move(trimmed), {heading}, {}});
    return sections_.back();
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
        const TKey old = *KeyOf(Trim(Text(s.lines[*i])));
        if (old.value == text)
            return false;
        s.lines[*i] = Keep(KeyLine(old.name, text));
        return true;
    }
    // After the section's last line that is not blank, so a blank line before the next
    // section stays where it was. Only blank lines move, so no key's index changes.
    std::size_t at = s.lines.size();
    while (at > 1 && Trim(Text(s.lines[at - 1])).empty())
        --at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), Keep(KeyLine(name, text)));
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
