// The floors of src/: a folder includes its own headers and those of folders on lower floors;
// folders on one floor may use each other, but never both ways. And the portable core never
// includes the platform's own header: only win32/ folders may.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom up. A folder of src/ missing here has no floor, and that is a fault too.
const std::map<std::string, int> kFloors = {
    {"platform", 0}, {"base", 1}, {"drivers", 2}, {"utilities", 2},
    {"pgptray", 2},  {"pgp", 3},  {"sbm", 3},     {"shell", 4},
};

struct SourceFile {
    std::string path;  // below src/, with forward slashes
    std::string text;
};

struct Layering {
    std::vector<std::string> faults;
    int arrows = 0;  // includes from one folder into another
};

Layering CheckLayering(const std::vector<SourceFile>& files) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"/]+)/)");
    Layering result;
    std::map<std::pair<std::string, std::string>, std::string> firstArrow;  // (from, to) -> file
    for (const SourceFile& file : files) {
        const std::string from = file.path.substr(0, file.path.find('/'));
        const auto fromFloor = kFloors.find(from);
        if (fromFloor == kFloors.end()) {
            result.faults.push_back(file.path + ": " + from + "/ has no floor");
            continue;
        }
        std::istringstream lines(file.text);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (!std::regex_search(line, m, include) || m[1] == from) continue;
            const std::string to = m[1];
            ++result.arrows;
            firstArrow.emplace(std::make_pair(from, to), file.path);
            const auto toFloor = kFloors.find(to);
            if (toFloor == kFloors.end())
                result.faults.push_back(file.path + ": includes " + to + "/, which has no floor");
            else if (toFloor->second > fromFloor->second)
                result.faults.push_back(file.path + ": includes " + to + "/, a higher floor");
        }
    }
    for (const auto& [arrow, file] : firstArrow) {
        const auto back = firstArrow.find({arrow.second, arrow.first});
        if (arrow.first < arrow.second && back != firstArrow.end())
            result.faults.push_back(arrow.first + "/ and " + arrow.second + "/ include each other (" + file + ", " +
                                    back->second + ")");
    }
    return result;
}

std::vector<SourceFile> SourcesUnder(const fs::path& root) {
    std::vector<SourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        files.push_back({fs::relative(entry.path(), root).generic_string(), text.str()});
    }
    return files;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    return joined;
}

}  // namespace

TEST(Layering, FaultsInMadeUpSources) {
    struct Case {
        const char* name;
        std::vector<SourceFile> files;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"down, sideways within a folder, and from win32/ to win32/",
         {{"shell/props.cpp", "#include \"shell/props.h\"\n#include \"pgp/launcher.h\"\n#include <string>\n"},
          {"drivers/win32/a.cpp", "  #  include \"platform/win32/b.h\"\n#include \"base/c.h\"\n"},
          {"base/d.h", "#include \"platform/ports.h\"\n#include \"d2.h\"\n"}},
         {}},
        {"up one floor",
         {{"base/diagnostics.h", "#include \"shell/props.h\"\n"}},
         {"base/diagnostics.h: includes shell/, a higher floor"}},
        {"up from a win32/ folder",
         {{"platform/win32/desktop.cpp", "#include \"base/errors.h\"\n"}},
         {"platform/win32/desktop.cpp: includes base/, a higher floor"}},
        {"one floor, both ways",
         {{"drivers/a.cpp", "#include \"utilities/b.h\"\n"}, {"utilities/b.cpp", "#include \"drivers/a.h\"\n"}},
         {"drivers/ and utilities/ include each other (drivers/a.cpp, utilities/b.cpp)"}},
        {"one floor, one way",
         {{"drivers/a.cpp", "#include \"utilities/b.h\"\n"}, {"utilities/b.cpp", "#include \"base/c.h\"\n"}},
         {}},
        {"a folder without a floor, and an include of one",
         {{"extra/a.cpp", "#include \"base/b.h\"\n"}, {"sbm/c.cpp", "#include \"extra/a.h\"\n"}},
         {"extra/a.cpp: extra/ has no floor", "sbm/c.cpp: includes extra/, which has no floor"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Joined(CheckLayering(c.files).faults), Joined(c.faults)) << c.name;
}

TEST(Layering, EveryIncludeBetweenFoldersPointsDown) {
    const Layering layering = CheckLayering(SourcesUnder(fs::path(V5_SOURCE_DIR) / "src"));
    EXPECT_GT(layering.arrows, 0) << "no include between folders was seen";
    EXPECT_TRUE(layering.faults.empty()) << Joined(layering.faults);
}

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
