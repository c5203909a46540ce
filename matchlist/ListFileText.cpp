#include "matchlist/ListFileText.h"

#include "matchlist/PlateRules.h"
#include "platform/text/TextLines.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    const auto ch = static_cast<unsigned char>(c);
    return ch >= 1 && ch <= 32;
}

bool NeedsQuotes(std::string_view field, char delimiter, char quote)
{
    return std::any_of(field.begin(), field.end(),
                       [&](char c) { return IsBlank(c) || c == quote || c == delimiter; });
}

void AppendField(std::string& line, std::string_view field, char delimiter, char quote)
{
    // A NUL written into the file would end the whole text when it is read back, losing
    // every line after it: the field ends there instead.
    field = field.substr(0, field.find('\0'));
    if (!NeedsQuotes(field, delimiter, quote)) {
        line += field;
        return;
    }
    line += quote;
    for (const char c : field) {
        line += c;
        if (c == quote)
            line += quote;
    }
    line += quote;
}

class TFieldReader final {
public:
    explicit TFieldReader(std::string_view line) : line_(line.substr(0, line.find('\0'))) {}

    bool AtEnd() const { return pos_ >= line_.size(); }
    char Current() const { return line_[pos_]; }
    bool AtLast() const { return pos_ + 1 == line_.size(); }
    void Advance() { ++pos_; }

    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(Current()))
            ++pos_;
    }

    // At the opening quote character: the field up to the next quote character that is
    // not doubled, or to the end of the line when there is none.
    std::string ReadQuoted(char quote)
    {
        std::string field;
        ++pos_;
        while (!AtEnd()) {
            const size_t next = line_.find(quote, pos_);
            if (next == std::string_view::npos) {
                field += line_.substr(pos_);
                pos_ = line_.size();
                break;
            }
            field += line_.substr(pos_, next - pos_);
            pos_ = next + 1;
            if (AtEnd() || Current() != quote)
                break;
            field += quote;
            ++pos_;
        }
        return field;
    }

    std::string ReadUnquoted(char delimiter)
    {
        const size_t start = pos_;
        while (!AtEnd() && !IsBlank(Current()) && Current() != delimiter)
            ++pos_;
        return std::string(line_.substr(start, pos_ - start));
    }

private:
    std::string_view line_;
    size_t pos_ = 0;
};

void AppendLine(std::string& text, std::string_view line)
{
    text += line;
    text += "\r\n";
}

}  // namespace

std::string JoinFields(const std::vector<std::string>& fields, char delimiter, char quote)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += delimiter;
        AppendField(line, fields[i], delimiter, quote);
    }
    return line;
}

std::vector<std::string> SplitFields(std::string_view line, char delimiter, char quote)
{
    std::vector<std::string> fields;
    TFieldReader reader(line);
    reader.SkipBlanks();
    while (!reader.AtEnd()) {
        // The quote test comes first, so with a separator equal to the quote character a
        // field that begins with it is read as quoted.
        if (reader.Current() == quote)
            fields.push_back(reader.ReadQuoted(quote));
        else
            fields.push_back(reader.ReadUnquoted(delimiter));
        reader.SkipBlanks();
        if (!reader.AtEnd() && reader.Current() == delimiter) {
            if (reader.AtLast())
                fields.emplace_back();
            reader.Advance();
            reader.SkipBlanks();
        }
    }
    return fields;
}

std::string BuildListFileText(int rowCount, const std::function<TPlateRow(int row)>& rowAt,
                              const TSpecialEntries& specials, char delimiter, char quote)
{
    std::string text;
    for (int i = 0; i < rowCount; ++i) {
        TPlateRow row = rowAt(i);
        AppendLine(text,
                   JoinFields({std::move(row.plate), std::move(row.idText)}, delimiter, quote));
    }
    // Special entries are written as they stand, unquoted, even when empty or invalid.
    for (size_t k = 0; k < specials.size(); ++k) {
        if (!specials[k].checked)
            continue;
        std::string line(kSpecialKeywords[k]);
        line += delimiter;
        line += specials[k].idText;
        AppendLine(text, line);
    }
    return text;
}

std::vector<TPlateRow> ParseListFileText(std::string_view bytes, int firstLine, char delimiter,
                                         char quote, int64_t maxId)
{
    std::vector<TPlateRow> entries;
    const auto first = static_cast<size_t>(std::max(firstLine, 1));
    size_t number = 0;
    for (const std::string_view line : TTextLines(TextBeforeNul(bytes))) {
        if (++number < first)
            continue;
        std::vector<std::string> fields = SplitFields(line, delimiter, quote);
        if (fields.size() < 2 || !IsValidPlate(fields[0]) || !IsValidIdNumber(fields[1], maxId))
            continue;
        entries.push_back({std::move(fields[0]), std::move(fields[1])});
    }
    return entries;
}
