// The PGP suite as the real program sees it: its version on the About page.
#include "e2e_support.h"

using namespace e2e;

TEST(PgpSuite, AboutPageNamesTheSuitesProductAndVersion) {
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    const std::string ini = std::string(directory) + "\\Vostrel5.INI";
    const bool had = Exists(ini);
    const std::string saved = had ? ReadFile(ini) : std::string();

    Installation install;
    const std::string suite = install.path("PGP Suite\\");
    ASSERT_TRUE(CreateDirectoryA(suite.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((BuildDir() + "standin_pgp.exe").c_str(), (suite + "PGPtray.exe").c_str(), FALSE));
    WriteFile(ini, "[PGP]\r\nMainexe=" + suite + "PGPtray.exe\r\n");

    Process program = install.startResident("pgpabout");
    const std::string log = install.log();
    EXPECT_NE(log.find("\r\nUsing  Stand-in PGP Suite V5.5.3\r\nInstalled in: " + suite + "\r\n"), std::string::npos)
        << log;
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());

    DeleteFileA(ini.c_str());
    if (had) WriteFile(ini, saved);
}
