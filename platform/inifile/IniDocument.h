#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An initialisation file held as its lines. Lines nobody changes are written back byte for
// byte; a changed or new key is written as "key=value". Names compare without case (a-z).
class TIniDocument final {
public:
    explicit TIniDocument(const std::string& bytes = {});

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
    struct Entry {
        std::string raw;  // the line as read, or as last written
        std::string name;
        std::string value;
        bool isKey = false;  // the line holds '='
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // First entry of each key, by its upper-cased name, so big sections stay quick.
        std::unordered_map<std::string, std::size_t> index;
    };

    void AddLine(const std::string& line);
    const Section* Find(std::string_view name) const;
    Section* Find(std::string_view name);
    Section& FindOrAdd(std::string_view name);
    static std::optional<std::size_t> FindKey(const Section& section, std::string_view key);

    // sections_[0] holds the lines before the first section header.
    std::vector<Section> sections_;
};
