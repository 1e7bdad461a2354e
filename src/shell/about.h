#pragma once
// The About page's text, composed once at start-up and written to the log as one entry.
#include <string>

namespace v5 {

struct AboutFacts {
    std::string title;           // the application's title
    std::string fileVersion;     // the program's "FileVersion" value
    std::string distInfo;        // the distribution text, right after the version
    std::string installDir;
    std::string driverDir;
    std::string windowsVersion;  // WindowsVersionText()
    std::string pgpProductName;
    std::string pgpFileVersion;
    std::string pgpMainExe;
};

inline constexpr const char* kPgpTrademarkLine = "PGP is a trade mark of Pretty Good Privacy, Inc.";

// One empty line, then the seven lines of the About page, joined with CR LF.
std::string ComposeAboutText(const AboutFacts& facts);

}  // namespace v5
