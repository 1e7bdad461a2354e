// The fake profile store keeps the platform's rules (the same table is checked against the real
// functions under Wine), and the whole-number reading shared by the adapter and the fake.
#include <gtest/gtest.h>

#include "fakes/fake_profile.h"
#include "fakes/profile_cases.h"
#include "platform/profile_values.h"

namespace v5::fakes {
namespace {

TEST(FakeProfile, ReadsLikeThePlatform) {
    FakeProfile profile;
    profile.setFileText("Cases.ini", ProfileCaseFileText());
    for (const ProfileCase& c : ProfileCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(profile.readString("cases.INI", c.section, c.key, c.defaultText), c.text);
        EXPECT_EQ(profile.readInt("Cases.ini", c.section, c.key, 77), c.number);
    }
}

TEST(FakeProfile, WritesAsThePlatformRewritesTheFile) {
    FakeProfile profile;
    profile.setFileText("Set.ini", "[ General ]\r\noptProcessing = 1\r\n\r\nnoEquals\r\n");
    EXPECT_TRUE(profile.writeString("SET.INI", "general", "OPTPROCESSING", "2"));
    EXPECT_TRUE(profile.writeString("Set.ini", "PGP", "Mainexe", "C:\\PGP\\PGPtray.exe"));
    EXPECT_TRUE(profile.writeString("Set.ini", "General", "RecentPage", " 3 "));
    // The key keeps the letter case it had; new keys go to the end of their section.
    EXPECT_EQ(profile.fileText("Set.ini").value(),
              "[General]\r\noptProcessing=2\r\nnoEquals\r\nRecentPage=3\r\n[PGP]\r\nMainexe=C:\\PGP\\PGPtray.exe\r\n");
    EXPECT_EQ(profile.readInt("Set.ini", "General", "recentpage", 0), 3);
}

TEST(FakeProfile, FailingWritesLeaveTheFileAlone) {
    FakeProfile profile;
    profile.setFileText("Locked.ini", "[General]\r\nk=1\r\n");
    profile.failWritesTo("LOCKED.INI");
    EXPECT_FALSE(profile.writeString("Locked.ini", "General", "k", "2"));
    EXPECT_EQ(profile.readString("Locked.ini", "General", "k", ""), "1");
    ASSERT_EQ(profile.calls.size(), 2u);
    EXPECT_EQ(profile.calls[0].operation, "write");
    EXPECT_EQ(profile.calls[0].value, "2");
}

TEST(ProfileWholeNumber, ReadsDecimalAndHexadecimalElseTheDefault) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"0", 0},          {"2147483647", 2147483647}, {"2147483648", -9}, {"-", -9},     {"+", -9},
        {"+-1", -9},       {"--1", -9},                {"0x7fffffff", 2147483647},        {"0x80000000", INT32_MIN},
        {"0x00000003", 3}, {"0x-3", -9},               {"0x+3", -9},       {" 1", -9},    {"1 ", -9},
        {"", -9},          {"$1F", -9},                {"1.0", -9},        {"0xa", 10},   {"00x3", -9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ProfileWholeNumber(c.text, -9), c.expected);
    }
}

}  // namespace
}  // namespace v5::fakes
