// The help project and the delivered tips: every topic the program asks for has a page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "base/strings.h"
#include "help_topics.h"

namespace v5 {
namespace {

std::string SourceFile(const std::string& relative) {
    std::ifstream in(std::string(V5_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HelpProject, EveryTopicTheProgramUsesIsMappedToAPageOfTheProject) {
    const std::string tips = SourceFile("package/tips.dat");
    const std::vector<std::string> tipLines = SplitLines(tips);
    EXPECT_GE(tipLines.size(), 20u);
    for (const std::string& line : tipLines) EXPECT_FALSE(SplitTipLine(line).text.empty()) << line;

    std::string section;
    std::set<std::string> files;
    std::map<std::string, std::string> aliases;  // identifier -> page
    std::map<int, std::string> map;              // topic -> identifier
    for (const std::string& raw : SplitLines(SourceFile("help/Vostrel5.hhp"))) {
        const std::string line(TrimControlAndBlanks(raw));
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line;
        } else if (section == "[FILES]") {
            files.insert(line);
        } else if (section == "[ALIAS]") {
            const std::size_t eq = line.find('=');
            aliases[line.substr(0, eq)] = line.substr(eq + 1);
        } else if (section == "[MAP]") {
            std::istringstream define(line);
            std::string hash, identifier;
            int topic = 0;
            define >> hash >> identifier >> topic;
            EXPECT_TRUE(map.emplace(topic, identifier).second) << "topic mapped twice: " << topic;
        }
    }
    for (const int topic : testing::ProgramHelpTopics(tips)) {
        SCOPED_TRACE(topic);
        ASSERT_TRUE(map.count(topic));
        ASSERT_TRUE(aliases.count(map[topic]));
        const std::string page = aliases[map[topic]];
        EXPECT_TRUE(files.count(page));
        EXPECT_TRUE(std::filesystem::exists(std::string(V5_SOURCE_DIR) + "/help/" + page));
    }
}

}  // namespace
}  // namespace v5
