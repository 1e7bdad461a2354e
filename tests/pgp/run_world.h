#pragma once
// A processing run over fakes: a mailer holding one message, its driver reading and writing the
// mail form data file on disk, and a PGP that wraps, signs and unwraps the clipboard's text.
#include <string>
#include <vector>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "drivers/detection.h"
#include "drivers/mfd.h"
#include "drivers/side_file.h"
#include "fakes/fake_run.h"
#include "pgp/processing_run.h"
#include "shell/props.h"

namespace v5::testing {

inline std::string Armoured(const std::string& kind, const std::string& text) {
    return "-----BEGIN PGP " + kind + "-----\r\n\r\n" + text + "\r\n-----END PGP " + kind + "-----\r\n";
}
inline std::string Encrypted(const std::string& text) { return Armoured("MESSAGE", "enc:" + text); }
inline std::string SignedText(const std::string& text) {
    return "-----BEGIN PGP SIGNED MESSAGE-----\r\n\r\n" + text +
           "\r\n-----BEGIN PGP SIGNATURE-----\r\nsig\r\n-----END PGP SIGNATURE-----\r\n";
}
inline std::string KeyBlock() { return Armoured("PUBLIC KEY BLOCK", "key"); }

// What the mailer's driver does with "read File=".
enum class DriverRead { Message, Nothing, EmptyFile, Garbage, BeyondCodePage };

struct RunWorld : DiagnosticsFixture {
    PropsState options;
    WindowHandle PGPBusyHwnd = 0;
    fakes::FakeRunScreen screen;
    fakes::FakeRunClipboard clipboard;
    fakes::FakeRunProgress progress;
    fakes::FakeRunMailer mailer;
    fakes::FakeRunPgp pgp;
    fakes::FakeMessageDialogs dialogs;
    // The disk the data file is written to; a test makes it fail.
    PiecesWriter diskWrite = WriteFilePiecesOrThrow;
    ProcessingRun run{{state, diagnostics, RunOptionsOf(options), PGPBusyHwnd, screen, clipboard, progress, mailer, pgp,
                       dialogs, {}, [this](const std::string& path, std::initializer_list<std::string_view> pieces) {
                           diskWrite(path, pieces);
                       }}};

    // The mailer's window.
    std::int32_t wtype = wtOutward;
    std::string mailerText = "Meet me at noon. zebra-marker";
    std::string to = "alice@example.org";
    DriverRead driverRead = DriverRead::Message;
    // The driver is SBM.EXE: its read records the windows in the side file, and its write-back
    // ends with this exit code, recorded there too.
    bool scriptEngine = false;
    int scriptEngineWriteExit = 0;
    // What PGP's decryption gives.
    std::string decrypted = "the plain text";

    RunWorld() {
        state.ShortInstallDir = dir.path();
        state.MfdFilePath = dir / "tmpmfd.tmp";
        clipboard.content = "older clipboard text";
        mailer.driver = [this](const std::string& command) { Driver(command); };
        pgp.answer = [this](const std::string& switchText) { return Pgp(switchText); };
    }

    void Driver(const std::string& command) {
        if (command.rfind(kReadFileCommand, 0) == 0) {
            const std::string path = command.substr(std::string(kReadFileCommand).size());
            switch (driverRead) {
                case DriverRead::Message: {
                    TMFDData record;
                    record.Wtype = wtype;
                    record.To = to;
                    record.HasTo = !to.empty();
                    record.Subject = "Subject-only words";
                    record.HasSubject = true;
                    record.Body = mailerText;
                    record.HasBody = true;
                    WriteFileStringOrThrow(path, FormatMFDText(record));
                    if (scriptEngine)
                        WriteFileStringOrThrow(SideFilePath(path), FormatSideFile({{7, 70, "Pad"}, {8, 70, "Edit"}, {}}));
                    break;
                }
                case DriverRead::Nothing: break;
                case DriverRead::BeyondCodePage:
                    WriteFileStringOrThrow(SideFilePath(path), FormatSideFile({{}, {}, SideResult{3, kTextBeyondCodePage}}));
                    break;
                case DriverRead::EmptyFile: WriteFileStringOrThrow(path, ""); break;
                case DriverRead::Garbage: WriteFileStringOrThrow(path, std::string("\xff\x00\x13zebra\r\nWtype\x01", 14)); break;
            }
        } else if (command.rfind(kWriteFileCommand, 0) == 0) {
            const std::string path = command.substr(std::string(kWriteFileCommand).size());
            const TMFDData record = ReadMFDFile(path);
            if (!scriptEngine) {
                if (record.HasBody) mailerText = record.Body;
                return;
            }
            SideFile side = ParseSideFile(ReadFileString(SideFilePath(path)));
            if (scriptEngineWriteExit == 0) mailerText = record.Body;
            side.result = SideResult{scriptEngineWriteExit, scriptEngineWriteExit ? "the window is gone" : ""};
            WriteFileStringOrThrow(SideFilePath(path), FormatSideFile(side));
        }
    }

    bool Pgp(const std::string& switchText) {
        std::string& text = clipboard.content;
        if (switchText == "-AutoEncrypt" || switchText == "-AutoEncryptSign") text = Encrypted(text);
        else if (switchText == "-AutoSign") text = SignedText(text);
        else if (switchText == "-AutoDecryptVerify") text = decrypted;
        return true;
    }

    // The log's messages, without date and time.
    std::vector<std::string> logMessages() const {
        std::vector<std::string> messages;
        const std::string text = log();
        for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
            end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(start, end - start);
            const std::size_t colon = line.find(": ");
            messages.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
        }
        return messages;
    }
    std::vector<std::string> logMessagesWith(const std::string& piece) const {
        std::vector<std::string> found;
        for (const std::string& m : logMessages())
            if (m.find(piece) != std::string::npos) found.push_back(m);
        return found;
    }
    std::string lastLogMessage() const {
        const std::vector<std::string> messages = logMessages();
        return messages.empty() ? std::string() : messages.back();
    }
};

}  // namespace v5::testing
