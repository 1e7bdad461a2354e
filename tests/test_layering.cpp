// The portable core never includes the platform's own header: only win32/ folders may.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(Layering, OnlyWin32FoldersIncludeWindowsHeader) {
    const std::regex include(R"(^\s*#\s*include\s*[<"]windows\.h[>"])", std::regex::icase);
    std::vector<std::string> offenders;
    int filesSeen = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(V5_SOURCE_DIR) / "src")) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().generic_string();
        ++filesSeen;
        if (path.find("/win32/") != std::string::npos) continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, include)) offenders.push_back(path);
    }
    EXPECT_GT(filesSeen, 0);
    EXPECT_TRUE(offenders.empty()) << "first offender: " << (offenders.empty() ? "" : offenders.front());
}
