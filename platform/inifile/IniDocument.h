#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An initialisation file held as its lines. Lines nobody changes are written back byte for
// byte; a changed or new key is written as "key=value". Names compare without case (a-z).
// The file's bytes are kept once and every line is a place in them, so a line costs a few
// bytes beyond its own; a line written replaces its place by one after the file's bytes
// (the old bytes stay until the document goes).
class TIniDocument final {
public:
    explicit TIniDocument(std::string bytes = {});

    // Every line ended by CR LF.
    std::string Bytes() const;

    // The key's first line in the first section of that name decides.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Keys ("key=value" lines) in file order, duplicates included.
    std::vector<std::string> Keys(std::string_view section) const;
    // Every line but blanks and ';' comments, as "key=value" or as the lone name.
    std::vector<std::string> Lines(std::string_view section) const;

    // False when the value was there already, so nothing needs writing. Section, key and
    // value each end at their first CR or LF: what follows would start lines of its own.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // A heading at the end when the section is not there; false when it was.
    bool AddSection(std::string_view section);
    // Removes every section of that name; false when there was none.
    bool EraseSection(std::string_view section);

private:
    // A line's bytes in text_, without its line break.
    struct Line {
        std::size_t start = 0;
        std::size_t size = 0;
    };
    struct Section {
        std::string name;
        // The heading first (the lines before the first heading have none).
        std::vector<Line> lines;
        // First line of each key, by its upper-cased name, so big sections stay quick.
        std::unordered_map<std::string, std::size_t> index;
    };

    std::string_view Text(Line line) const;
    // Keeps a line written after the file's bytes.
    Line Keep(std::string_view line);
    void AddLine(Line line);
    const Section* Find(std::string_view name) const;
    Section* Find(std::string_view name);
    Section& FindOrAdd(std::string_view name);
    static std::optional<std::size_t> FindKey(const Section& section, std::string_view key);

    std::string text_;  // the file's bytes, then every line written since
    // sections_[0] holds the lines before the first section header.
    std::vector<Section> sections_;
};
