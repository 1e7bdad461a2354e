#include "shell/about.h"

#include "base/PathOfF.h"
#include "base/strings.h"

namespace v5 {

std::string ComposeAboutText(const AboutFacts& facts) {
    const std::string lines[] = {
        "",
        facts.title + " V" + std::string(TrimControlAndBlanks(facts.fileVersion)) + facts.distInfo,
        "Installed in: " + facts.installDir,
        "Mail Form Drivers in: " + facts.driverDir,
        "Windows: " + facts.windowsVersion,
        "Using " + facts.pgpProductName + " V" + std::string(TrimControlAndBlanks(facts.pgpFileVersion)),
        "Installed in: " + DirectoryOf(facts.pgpMainExe),
        kPgpTrademarkLine,
    };
    std::string text;
    for (const std::string& line : lines) {
        if (&line != &lines[0]) text += "\r\n";
        text += line;
    }
    return text;
}

}  // namespace v5
