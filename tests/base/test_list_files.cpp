// List files: their line ends when read, and CR LF after every line when written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_routines.h"
#include "base/list_files.h"
#include "temp_dir.h"

namespace v5 {
namespace {

TEST(ListFiles, LinesEndWithCrLfOrCrOrLf) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {" a \r\n\tb", {" a ", "\tb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(SplitLines(c.text), c.lines);
    }
}

TEST(ListFiles, WrittenWithCrLfAfterEveryLine) {
    testing::TempDir dir;
    WriteListFile(dir / "l.dat", {"one", "", " two"});
    EXPECT_EQ(ReadFileString(dir / "l.dat"), "one\r\n\r\n two\r\n");
    WriteListFile(dir / "l.dat", {});
    EXPECT_TRUE(FileExists(dir / "l.dat"));
    EXPECT_EQ(ReadFileString(dir / "l.dat"), "");
    EXPECT_TRUE(ReadListFile(dir / "none.dat").empty());
}

}  // namespace
}  // namespace v5
