#pragma once
// An in-memory profile store that keeps the platform's rules: file, section and key names match
// without regard to letter case; names and values are trimmed of blanks and tabs; one pair of
// matching surrounding quotes is dropped from a value; the first of two equal sections or keys
// wins; text comes back through the 1024-character buffer; a missing value gives the default less
// its trailing blanks. Files are rendered the way the platform rewrites them ("[Section]" and
// "key=value" lines, CR LF, no blank lines), so tests can compare bytes.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace v5::fakes {

class FakeProfile : public Profile {
public:
    struct Call {
        std::string operation;  // "read" or "write"
        std::string file, section, key, value;
    };
    std::vector<Call> calls;

    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

    // Replaces the file's content by the text, parsed as the platform parses a profile file.
    void setFileText(const std::string& file, const std::string& text);
    // The file as the platform would have written it; nullopt when it does not exist.
    std::optional<std::string> fileText(const std::string& file) const;
    void removeFile(const std::string& file);
    // Every write to the file fails from now on, as on a read-only or unreachable file.
    void failWritesTo(const std::string& file) { failing_.insert(Folded(file)); }

private:
    struct Entry {
        std::string key;
        std::optional<std::string> value;  // a line without "=" has none and is never found
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    struct File {
        std::string name;
        std::vector<Section> sections;  // a first, unnamed one holds lines before any header
    };

    static std::string Folded(const std::string& text);
    File* find(const std::string& file);
    const File* find(const std::string& file) const;

    std::vector<File> files_;
    std::set<std::string> failing_;
};

}  // namespace v5::fakes
