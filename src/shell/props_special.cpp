// The Special page's direct access to the PGP suite's programs, preferences and help.
#include "base/PathOfF.h"
#include "base/file_routines.h"
#include "pgp/launcher.h"
#include "shell/props.h"

namespace v5 {

void TfrmProps::btnPGPKeysClick() {
    if (PgpLauncher) PgpLauncher->RunPGPItem(kPgpKeysExeName);
}

void TfrmProps::btnPAPTrayClick() {
    if (!PgpLauncher) return;
    if (PgpLauncher->FindPGPTrayWindow() != 0)
        log_.AppMessageBox(kPgpTrayAlreadyRunningText, amWarning, kMbOk);
    else
        PgpLauncher->RunPGPItem(kPgpTrayExeName);
}

void TfrmProps::btnToolsClick() {
    if (PgpLauncher) PgpLauncher->InvokePGP("-Tools");
}

void TfrmProps::Button1Click() {
    if (PgpLauncher) PgpLauncher->InvokePGP("-Properties");
}

void TfrmProps::btnPGPHelpClick() {
    const std::string suiteDir = DirectoryOf(props_.PgpMainExe);
    const std::string helpFile = FindFirstFileMatching(suiteDir, kPgpHelpPattern);
    if (!helpFile.empty()) view_.showHelpContents(suiteDir + helpFile);
}

}  // namespace v5
