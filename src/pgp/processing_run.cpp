#include "pgp/processing_run.h"

#include <exception>
#include <optional>
#include <utility>

#include "base/armour.h"
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/shell_state.h"
#include "drivers/detection.h"
#include "drivers/mfd.h"
#include "drivers/side_file.h"
#include "pgp/decision.h"
#include "pgp/recipients.h"
#include "platform/errors.h"

namespace v5 {

std::string NoPGPDataText(const std::string& pgpText) {
    return "The incoming message that starts \"" + pgpText.substr(0, kRefusalQuoteChars) +
           "\" does not contain any PGP data.";
}

std::string NotWipedText(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        if (!text.empty()) text += "\r\n";
        text += "The file " + path + " could not be wiped: it may still hold your message.";
    }
    return text;
}

ProcessingRun::ProcessingRun(ProcessingRunPorts ports) : ports_(std::move(ports)) {
    if (!ports_.wipeFile) ports_.wipeFile = [](const std::string& path) { WipeFile(path); };
}

void ProcessingRun::MainPGP(bool RoutineRun) {
    ShellState& state = ports_.state;
    state.TracePoint = tpRunStart;
    ports_.screen.hideMainWindow();

    // A request to PGP from an earlier run still waits for the user in one of PGP's dialogs.
    if (ports_.PGPBusyHwnd != 0) {
        ports_.screen.bringWindowToTop(ports_.PGPBusyHwnd);
        ports_.screen.processMessages();
        const DialogResult answer =
            ports_.dialogs.show(kPreviousRunText, DialogKind::Warning, dbCancel | dbIgnore, 0);
        if (answer != DialogResult::drIgnore) return;
        ports_.PGPBusyHwnd = 0;
    }

    try {
        Run(RoutineRun);
    } catch (const SilentAbort&) {
        // The PGP suite could not be started: the program is ending, and the run with it.
        WipeLeftovers();
        throw;
    } catch (...) {
        ClosingSteps();
        throw;
    }
    ClosingSteps();
}

void ProcessingRun::Run(bool RoutineRun) {
    ShellState& state = ports_.state;
    RunProgress& progress = ports_.progress;
    progress.create();
    state.TracePoint = tpRunProgressCreated;
    ports_.screen.setHourglass(true);
    ports_.mailer.createMailerChoice();
    state.TracePoint = tpRunChoiceCreated;

    const bool abandoned = ports_.mailer.DetectRunningMailer(true);
    progress.setPosition(kProgressDetected);
    state.TracePoint = tpRunDetected;
    if (abandoned) return;

    // A side file left by an earlier run must not be taken for what this run's driver wrote.
    DeleteFileIfPresent(SideFilePath(state.MfdFilePath));
    ports_.mailer.RunDriver(kReadFileCommand + state.MfdFilePath);
    state.TracePoint = tpRunDriverRead;
    progress.setPosition(kProgressDriverRead);
    const SideFile side = ReadSideFile();
    if (TextBeyondCodePage(side)) {
        ports_.diagnostics.AppMessageBox(kTextBeyondCodePageText, amError, kMbOk);
        return;
    }

    TMFDData mail = ReadMFDFile(state.MfdFilePath);
    state.TracePoint = tpRunDataRead;
    ports_.wipeFile(state.MfdFilePath);
    progress.setPosition(kProgressDataRead);

    // The decision takes the record over; the recipients are kept for the tray program first.
    RequestNote note = RequestNoteFor(mail);
    // A clear signature covers the text as the recipient's mailer will send it.
    note.utf8 = TextGoesAsUtf8(side);
    const RunOptions& options = ports_.options;
    TDecisionOptions decisionOptions;
    decisionOptions.RoutineRun = RoutineRun;
    decisionOptions.MailingListAddresses = options.MailingListAddresses;
    decisionOptions.RoutineOption = options.RoutineOption;
    decisionOptions.SpecialOption = options.SpecialOption;
    decisionOptions.PreferKeyImport = options.PreferKeyImport;
    const TOperationDecision decision = DecideOperation(std::move(mail), decisionOptions, state.TracePoint);

    switch (decision.Refusal) {
        case TRunRefusal::rrNoData:
            ports_.diagnostics.AppMessageBox(kNoDataText, amError, kMbOk);
            return;
        case TRunRefusal::rrNoPGPData:
            ports_.dialogs.show(NoPGPDataText(decision.PGPText), DialogKind::Error, dbOk, 0);
            return;
        case TRunRefusal::rrNone: break;
    }

    if (decision.AskListEncryption) {
        const DialogResult answer = ports_.dialogs.show(kListEncryptionText, DialogKind::Error,
                                                        dbYes | dbNo | dbHelp, kListEncryptionHelpTopic);
        if (answer != DialogResult::drYes) {
            ports_.screen.setHourglass(false);
            return;
        }
    }

    ports_.clipboard.setText(decision.PGPText);
    progress.setPosition(kProgressOnClipboard);
    ports_.diagnostics.WriteDebugLog(kInvokedLogPrefix + decision.Switch);
    state.TracePoint = tpRunPgpRequest;

    if (decision.Inward)
        Incoming(decision.Switch);
    else
        Outgoing(decision.Switch, note);
}

void ProcessingRun::Incoming(std::string switchText) {
    // A key that came wrapped inside an encrypted or signed message is imported by one more
    // request, as long as each request changes the clipboard and leaves a key block in it.
    for (int nested = 0;; ++nested) {
        const std::string before = ports_.clipboard.text();
        if (!ports_.pgp.InvokePGP(switchText, nullptr)) return;
        ports_.progress.setPosition(kProgressPgpReturned);
        ports_.screen.processMessages();

        if (ports_.options.IgnoreWrappedKeys) return;
        const std::string after = ports_.clipboard.text();
        if (after == before || !ClassifyPGPText(after).PublicKey) return;
        if (nested == kMaxNestedKeyImports) {
            ports_.diagnostics.WriteDebugLog("(Nested) Key import stopped after " +
                                             std::to_string(kMaxNestedKeyImports) + " rounds");
            return;
        }
        switchText = kSwitchAddKey;
        ports_.diagnostics.WriteDebugLog(kNestedInvokedLogPrefix + switchText);
    }
}

void ProcessingRun::Outgoing(const std::string& switchText, const RequestNote& note) {
    SetClipboardReceiverText("");
    const std::string before = ports_.clipboard.text();
    if (!ports_.pgp.InvokePGP(switchText, &note)) return;
    std::string after = ports_.clipboard.text();
    // PGP did nothing (the user cancelled its dialog), or what it left is no PGP block.
    if (after == before) return;
    if (!ClassifyPGPText(after).AnyBlock) return;
    SetClipboardReceiverText(std::move(after));
    ports_.progress.setPosition(kProgressWrittenBack);
}

void ProcessingRun::SetClipboardReceiverText(std::string text) {
    if (text == txtClipboardReceiver_) return;
    txtClipboardReceiver_ = std::move(text);
    txtClipboardReceiverChange();
}

void ProcessingRun::txtClipboardReceiverChange() {
    ShellState& state = ports_.state;
    state.TracePoint = tpReceiverStart;
    if (txtClipboardReceiver_.empty()) return;
    TMFDData record;
    ClearMFDData(record);
    state.TracePoint = tpReceiverCleared;
    // The body is the box's text, written from the box itself: a long result is not copied twice.
    record.HasBody = true;
    state.TracePoint = tpReceiverFilled;
    // A file missing or cut short must not reach a driver, which would write it over the message;
    // the clipboard, which holds the only other copy of PGP's result, is left as it is.
    if (!WriteMFDFile(record, txtClipboardReceiver_, state.MfdFilePath, ports_.diagnostics, ports_.writeFile)) {
        TellNotWrittenBack();
        return;
    }
    state.TracePoint = tpReceiverWritten;
    ports_.screen.processMessages();
    ports_.clipboard.setText("");
    state.TracePoint = tpReceiverClipboardEmptied;
    const bool started = ports_.mailer.RunDriver(kWriteFileCommand + state.MfdFilePath);
    state.TracePoint = tpReceiverDriverRan;
    ports_.screen.processMessages();
    // Other makers' drivers are trusted whatever they do; SBM.EXE says in its side file when it
    // failed, and a driver that never started wrote nothing.
    if (!started || ScriptEngineFailed()) {
        ports_.clipboard.setText(txtClipboardReceiver_);
        TellNotWrittenBack();
    }
    state.TracePoint = tpReceiverEnd;
    ports_.screen.setHourglass(false);
}

bool ProcessingRun::ScriptEngineFailed() {
    try {
        const std::optional<SideResult> result =
            ParseSideFile(ReadFileString(SideFilePath(ports_.state.MfdFilePath))).result;
        return result && result->exitCode != 0;
    } catch (const std::exception& error) {
        // Only SBM.EXE writes the file: one that cannot be read confirms nothing.
        ports_.diagnostics.WriteDebugLog(std::string("Could not read the driver's side file: ") + error.what());
        return true;
    }
}

SideFile ProcessingRun::ReadSideFile() {
    const std::string path = SideFilePath(ports_.state.MfdFilePath);
    try {
        if (FileExists(path)) return ParseSideFile(ReadFileString(path));
    } catch (const std::exception& error) {
        ports_.diagnostics.WriteDebugLog(std::string("Could not read the driver's side file: ") + error.what());
    }
    return {};
}

void ProcessingRun::TellNotWrittenBack() {
    ports_.screen.setHourglass(false);
    ports_.diagnostics.AppMessageBox(kNotWrittenBackText, amError, kMbOk);
}

std::vector<std::string> ProcessingRun::WipeLeftovers() {
    // The data file itself, the new file a driver writes it as before moving it into place (left
    // when the driver was ended part-way), and the script engine's side file with its new file.
    const std::string& data = ports_.state.MfdFilePath;
    const std::string side = SideFilePath(data);
    std::vector<std::string> notWiped;
    for (const std::string& path : {data, data + kFreshFileSuffix, side, side + kFreshFileSuffix}) {
        try {
            if (FileExists(path)) ports_.wipeFile(path);
        } catch (const std::exception& error) {
            ports_.diagnostics.WriteDebugLog("Could not wipe " + path + ": " + error.what());
            notWiped.push_back(path);
        }
    }
    return notWiped;
}

void ProcessingRun::ClosingSteps() {
    ShellState& state = ports_.state;
    state.TracePoint = tpRunClosing1;
    // The driver's copy of the message, or PGP's output after a write-back, must not stay on
    // disk whichever way the run ends.
    const std::vector<std::string> notWiped = WipeLeftovers();
    state.TracePoint = tpRunClosing2;
    ports_.progress.free();
    state.TracePoint = tpRunProgressFreed;
    ports_.screen.setHourglass(false);
    // A copy of the message may be left on disk: the user must know, not only the log.
    if (!notWiped.empty()) ports_.diagnostics.AppMessageBox(NotWipedText(notWiped), amWarning, kMbOk);
    ports_.diagnostics.WriteDebugLog(kRunEndLogLine);
    state.TracePoint = tpRunEnd;
}

}  // namespace v5
