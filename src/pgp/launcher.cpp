#include "pgp/launcher.h"

#include <array>
#include <utility>

#include "base/PathOfF.h"
#include "base/armour.h"
#include "platform/errors.h"

namespace v5 {
namespace {

struct PgpCommand {
    const char* pgpSwitch;
    std::uint32_t id;
};
constexpr std::array<PgpCommand, 7> kPgpCommands{{
    {"-AutoEncrypt", 40017},
    {"-AutoSign", 40018},
    {"-AutoEncryptSign", 40007},
    {"-AddKey", 40006},
    {"-AutoDecryptVerify", 40008},
    {"-Properties", 40012},
    {"-Tools", 40019},
}};
constexpr std::uint32_t kPgpOtherCommand = 40016;

}  // namespace

std::uint32_t PgpCommandFor(const std::string& pgpSwitch) {
    for (const PgpCommand& command : kPgpCommands)
        if (pgpSwitch == command.pgpSwitch) return command.id;
    return kPgpOtherCommand;
}

bool RequestTakesANote(std::uint32_t command) { return command == 40017 || command == 40018 || command == 40007; }

std::string QuoteProgramPath(const std::string& path) {
    if (path.find(' ') == std::string::npos || (!path.empty() && path.front() == '"')) return path;
    return '"' + path + '"';
}

PgpVersionTexts ReadPGPVersion(TVersionLabel& label, const std::string& pgpMainExe) {
    PgpVersionTexts texts;
    label.SetInfoPrefix("");
    texts.fileVersion = label.GetInfoGeneral(pgpMainExe, kPgpVersionLangCharset);
    label.SetVersionResourceKey("ProductName");
    label.SetInfoPrefix("");
    texts.productName = label.GetInfoGeneral(pgpMainExe, kPgpVersionLangCharset);
    label.SetVersionResourceKey("FileVersion");
    return texts;
}

TPgpLauncher::TPgpLauncher(LauncherPorts ports) : ports_(std::move(ports)) {}

std::string TPgpLauncher::SuiteDirectory() const { return DirectoryOf(ports_.pgpMainExe); }

WindowHandle TPgpLauncher::FindPGPTrayWindow() {
    WINDOW criteria;
    criteria.ClassMatch.Exact = kPgpTrayWindowClass;
    return ports_.windowSearch.FindWindowByCriteria(criteria);
}

void TPgpLauncher::Fatal(const std::string& where) {
    ports_.diagnostics.ReportFatalError(where, ports_.pgpMainExe);
    // The program ends: nothing more of the request, or of the run that made it, may follow.
    throw SilentAbort();
}

WindowHandle TPgpLauncher::StartTrayAndWaitForWindow() {
    const std::uint32_t started = ports_.processes.start(QuoteProgramPath(ports_.pgpMainExe), kSwShowNormal);
    if (started < 32) Fatal("Winexec returned " + std::to_string(started));
    const std::uint32_t waitStart = ports_.ticks.milliseconds();
    for (;;) {
        if (WindowHandle window = FindPGPTrayWindow()) return window;
        if (ports_.ticks.milliseconds() - waitStart > kPgpWindowWaitMs)
            Fatal("MainPGPHwnd timed out " + std::to_string(started));
        // The user interface stays alive meanwhile; a message wakes the look at once, and
        // without one the next look comes within the interval.
        ports_.application.waitForMessages(kPgpWindowLookIntervalMs);
    }
}

bool TPgpLauncher::InvokePGP(const std::string& pgpSwitch, const RequestNote* note) {
    WindowHandle MainPGPHwnd = FindPGPTrayWindow();
    if (MainPGPHwnd == 0) MainPGPHwnd = StartTrayAndWaitForWindow();
    const std::uint32_t command = PgpCommandFor(pgpSwitch);
    if (note && RequestTakesANote(command))
        ports_.desktop.sendData(MainPGPHwnd, kRequestNoteTag, FormatRequestNote(*note));
    ports_.desktop.setForeground(MainPGPHwnd);
    ports_.pgp.PGPBusyHwnd = MainPGPHwnd;
    try {
        ports_.desktop.sendCommand(MainPGPHwnd, command);
    } catch (...) {
        ports_.pgp.PGPBusyHwnd = 0;
        throw;
    }
    ports_.pgp.PGPBusyHwnd = 0;
    if (pgpSwitch.find("Encrypt") != std::string::npos && !ClassifyPGPText(ports_.clipboard.text()).Message) {
        ports_.diagnostics.ReportError("Message", kPgpFailedToEncryptText);
        return false;
    }
    return true;
}

void TPgpLauncher::RunPGPItem(const std::string& fileName) {
    const std::uint32_t started = ports_.processes.start(QuoteProgramPath(SuiteDirectory() + fileName), kSwShowNormal);
    if (started < 32) Fatal("RunPGPItem/Winexec returned " + std::to_string(started));
}

}  // namespace v5
