// The version label's texts, the Windows version text and the About text.
#include <gtest/gtest.h>

#include "base/verslab.h"
#include "fakes/fake_shell.h"
#include "shell/about.h"

using namespace v5;

TEST(VersionLabel, ResourcesNameTheirKeyAndPrefix) {
    struct Case {
        TVersionResource resource;
        const char* key;
        const char* prefix;
    } cases[] = {
        {vrCompanyName, "CompanyName", "Company Name:"},
        {vrFileDescription, "FileDescription", "File Description:"},
        {vrFileVersion, "FileVersion", "File Version:"},
        {vrInternalName, "InternalName", "Internal Name:"},
        {vrLegalCopyright, "LegalCopyright", "Legal Copyright:"},
        {vrLegalTrademarks, "LegalTrademarks", "Legal Trademarks:"},
        {vrOriginalFilename, "OriginalFilename", "Original Filename:"},
        {vrProductName, "ProductName", "Product Name:"},
        {vrProductVersion, "ProductVersion", "Product Version:"},
    };
    fakes::FakeVersionResources resources;
    TVersionLabel label(resources);
    for (const Case& c : cases) {
        label.SetVersionResource(c.resource);
        EXPECT_EQ(label.VersionResourceKey(), c.key);
        EXPECT_EQ(label.InfoPrefix(), c.prefix);
    }
}

TEST(VersionLabel, GetInfoGivesPrefixBlankAndValueOrAFailureText) {
    fakes::FakeVersionResources resources;
    const std::string pgp = "C:\\PGP\\PGPtray.exe";
    auto& values = resources.files[pgp];
    values["\\StringFileInfo\\040904B0\\FileVersion"] = "5.5.3";
    values["\\StringFileInfo\\040904B0\\ProductName"] = "P";
    values["\\StringFileInfo\\040904B0\\ProductVersion"] = "";
    struct Case {
        const char* file;
        const char* key;
        const char* lang;
        const char* expected;
    } cases[] = {
        {"C:\\PGP\\PGPtray.exe", "FileVersion", "040904B0", "FileVersion 5.5.3"},
        {"C:\\PGP\\PGPtray.exe", "FileVersion", "080904E4", "FileVersion Error retrieving version info"},
        {"C:\\PGP\\PGPtray.exe", "ProductName", "040904B0", "ProductName No Version Info"},
        {"C:\\PGP\\PGPtray.exe", "ProductVersion", "040904B0", "ProductVersion No Version Info"},
        {"C:\\none.exe", "FileVersion", "040904B0", "FileVersion < No Data Available >"},
    };
    TVersionLabel label(resources);
    for (const Case& c : cases) {
        label.SetVersionResourceKey(c.key);
        EXPECT_EQ(label.GetInfoGeneral(c.file, c.lang), c.expected);
    }
    EXPECT_EQ(resources.queries.back(), "C:\\none.exe|\\StringFileInfo\\040904B0\\FileVersion");
}

TEST(VersionLabel, CaptionFollowsThePrefixAndItsDisplay) {
    fakes::FakeVersionResources resources;
    resources.files[resources.self]["\\StringFileInfo\\080904E4\\FileVersion"] = "5.1.1.27";
    TVersionLabel label(resources);
    EXPECT_EQ(label.LangCharset(), "080904E4");
    EXPECT_EQ(label.Caption(), "File Version: 5.1.1.27");
    label.SetInfoPrefix("");
    EXPECT_EQ(label.Caption(), " 5.1.1.27") << "an empty prefix still gives the blank";
    label.SetShowInfoPrefix(false);
    EXPECT_EQ(label.Caption(), "5.1.1.27");
    label.SetShowInfoPrefix(true);
    label.SetLangCharset("040904B0");
    EXPECT_EQ(label.Caption(), " Error retrieving version info");
}

TEST(WindowsVersion, JoinsVersionBuildPlatformAndServicePack) {
    struct Case {
        OsVersionInfo info;
        const char* expected;
    } cases[] = {
        {{6, 1, 7601, 2, "Service Pack 1"}, "6.1.7601 WinNTService Pack 1"},
        {{4, 10, 0x040A08AE, 1, " A "}, "4.10.2222 Win95/98 A "},
        {{3, 11, 0, 0, ""}, "3.11.0 Win32s"},
        {{10, 0, 19045, 3, ""}, "10.0.19045 Unkown Platform #3"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowsVersionText(c.info), c.expected);
}

TEST(AboutText, SevenLinesAfterAnEmptyOne) {
    AboutFacts facts;
    facts.title = "Vostrel 5";
    facts.fileVersion = " 5.1.1.27 ";
    facts.distInfo = " (Test build)";
    facts.installDir = "C:\\V5\\";
    facts.driverDir = "C:\\Drivers";
    facts.windowsVersion = "6.1.7601 WinNTService Pack 1";
    facts.pgpProductName = " PGP ";
    facts.pgpFileVersion = "\t5.5.3 ";
    facts.pgpMainExe = "C:\\Program Files\\PGP\\PGPtray.exe";
    EXPECT_EQ(ComposeAboutText(facts),
              "\r\nVostrel 5 V5.1.1.27 (Test build)\r\nInstalled in: C:\\V5\\\r\nMail Form Drivers in: C:\\Drivers\r\n"
              "Windows: 6.1.7601 WinNTService Pack 1\r\nUsing  PGP  V5.5.3\r\n"
              "Installed in: C:\\Program Files\\PGP\\\r\nPGP is a trade mark of Pretty Good Privacy, Inc.");

    // Nothing known about PGP yet.
    AboutFacts bare;
    bare.title = "Vostrel 5";
    const std::string text = ComposeAboutText(bare);
    EXPECT_NE(text.find("\r\nUsing  V\r\nInstalled in: \r\n"), std::string::npos) << text;
}
