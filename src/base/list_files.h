#pragma once
// List files: one item per line. Reading takes CR, LF or CR LF as a line end; a missing file
// gives no lines. Writing ends every line with CR LF, replaces the file only once the new one is
// complete, and throws InOutError on failure (leaving the old file as it was).
#include <string>
#include <string_view>
#include <vector>

namespace v5 {

std::vector<std::string> SplitLines(std::string_view text);
std::vector<std::string> ReadListFile(const std::string& path);
void WriteListFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace v5
