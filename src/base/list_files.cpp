#include "base/list_files.h"

#include "base/file_routines.h"

namespace v5 {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::vector<std::string> ReadListFile(const std::string& path) {
    if (!FileExists(path)) return {};
    return SplitLines(ReadFileString(path));
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    // A list cut short by a failed write would lose entries: a lost mailing-list address means
    // mail to that list is encrypted instead of signed.
    ReplaceFileContents(path, text);
}

}  // namespace v5
