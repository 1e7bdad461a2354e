// The built-in driver's answer to the three driver commands.
#include <gtest/gtest.h>

#include "drivers/mfd.h"
#include "driver_world.h"

using namespace v5;
using namespace v5::testing;

namespace {

struct BuiltInWorld : DriverWorld {
    WindowHandle body = 0;
    std::string mfd;  // a path in mixed letter case
    BuiltInWorld() {
        writeClassList(kGetSetClassListName, "Edit\r\n");
        fakes::WindowSpec spec = Win("body", "Edit", {0, 0, 500, 400});
        spec.text = "Hello\r\nthere";
        body = desktop.add(spec);
        mfd = dir.path() + "TmpMFD.Tmp";
    }
    TMFDData written() const { return ReadMFDFile(mfd); }
};

const char* const kSignedMessage =
    "-----BEGIN PGP SIGNED MESSAGE-----\r\nHash: SHA1\r\n\r\nHi\r\n-----BEGIN PGP SIGNATURE-----\r\nxx\r\n"
    "-----END PGP SIGNATURE-----\r\n";

}  // namespace

TEST(RunBuiltInDriver, IdentityQueryInAnyLetterCase) {
    for (const char* verb : {"Data", "data", "DATA", "dAtA"}) {
        BuiltInWorld world;
        world.driver.RunBuiltInDriver(std::string(verb) + " File=" + world.mfd);
        ASSERT_TRUE(FileExists(world.mfd)) << verb;
        const TMFDData record = world.written();
        EXPECT_EQ(record.Short, ">None<");
        EXPECT_EQ(record.Information, "");
        EXPECT_EQ(record.Wtype, 0);
        EXPECT_FALSE(record.HasBody);
        EXPECT_TRUE(world.confirmation.shown.empty()) << "the identity query picks no window";
    }
}

TEST(RunBuiltInDriver, ReadTellsInwardFromOutwardText) {
    struct Case {
        const char* name;
        std::string windowText;
        int answer;
        std::int32_t wtype;
        std::string body;
    } cases[] = {
        {"plain text goes out", "Hello\r\nthere", kModalResultYes, wtOutward, "Hello\r\nthere"},
        {"armour comes in", kSignedMessage, kModalResultYes, wtInward, kSignedMessage},
        {"empty window", "", kModalResultYes, 0, ""},
        {"declined window", "Hello", kModalResultNo, 0, ""},
    };
    for (const Case& c : cases) {
        BuiltInWorld world;
        world.desktop.textOf(world.body) = c.windowText;
        world.confirmation.answers = {c.answer};
        world.driver.RunBuiltInDriver("READ file=" + world.mfd);
        const TMFDData record = world.written();
        EXPECT_EQ(record.Wtype, c.wtype) << c.name;
        EXPECT_EQ(record.Body, c.body) << c.name;
        EXPECT_EQ(record.HasBody, !c.body.empty()) << c.name;
        EXPECT_EQ(record.Short, ">None<") << c.name;
    }
}

TEST(RunBuiltInDriver, WritePutsTheBodyBackIntoTheWindow) {
    BuiltInWorld world;
    TMFDData record;
    record.Body = "-----BEGIN PGP MESSAGE-----\r\nabc\r\n-----END PGP MESSAGE-----\r\n";
    record.HasBody = true;
    WriteFileStringOrThrow(world.mfd, FormatMFDText(record));
    world.driver.RunBuiltInDriver("Write File=" + world.mfd);
    EXPECT_EQ(world.desktop.textOf(world.body), record.Body);

    // A file without a body changes nothing and asks nothing.
    BuiltInWorld empty;
    WriteFileStringOrThrow(empty.mfd, "Wtype: 1\r\n");
    empty.driver.RunBuiltInDriver("write File=" + empty.mfd);
    EXPECT_EQ(empty.desktop.textOf(empty.body), "Hello\r\nthere");
    EXPECT_TRUE(empty.confirmation.shown.empty());
}

TEST(RunBuiltInDriver, CommandsWithoutABlankOrWithAnotherVerbDoNothing) {
    for (const char* command : {"readFile=", "DataFile=", "print File=", "", "read", " read File="}) {
        BuiltInWorld world;
        world.driver.RunBuiltInDriver(command + world.mfd);
        EXPECT_FALSE(FileExists(world.mfd)) << command;
        EXPECT_TRUE(world.confirmation.shown.empty()) << command;
        EXPECT_TRUE(world.desktop.textsSet.empty()) << command;
    }
}
