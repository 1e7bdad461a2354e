#pragma once
// The tray program's state and its operations on the clipboard's text, shared by PGPTray.Exe,
// PGPTools.Exe and PGPKeys.Exe.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pgptray/gpg_command.h"
#include "pgptray/gpg_listing.h"
#include "pgptray/gpg_status.h"
#include "pgptray/tray_commands.h"
#include "pgptray/win32/gpg_process.h"

namespace pgptray {

class Form;

// The preferences, kept in "PGPTray.ini" beside the program.
struct TraySettings {
    std::string gpgPath;      // gpg.exe or its folder; empty: search
    std::string keyFolder;    // gpg's home folder; empty: gpg's own default
    std::string defaultKey;   // fingerprint of the signing key; empty: gpg's default
    bool encryptToSelf = true;
};

TraySettings LoadSettings();
void SaveSettings(const TraySettings& settings);

class TrayApp {
public:
    TrayApp();
    ~TrayApp();

    TraySettings settings;
    // Recipients given on the command line ("/recipient=FINGERPRINT"): encryption then asks no one.
    std::vector<std::string> presetRecipients;

    // Handles one command of the hidden window.
    void command(TrayCommand command);
    bool busy() const { return busy_; }

    // The path of gpg.exe, or empty after telling the user it is missing.
    std::string gpg();
    GpgRequest request(GpgOperation operation) const;
    // passphrase: handed to gpg through its pass-phrase pipe (null: none offered).
    GpgResult run(const GpgRequest& request, const std::string& input = {}, const std::string* passphrase = nullptr);
    std::vector<GpgKey> listKeys(bool secret);
    // Runs an operation that may need a pass phrase: asks for it (again after a wrong one) in
    // the pass-phrase dialog. False when the user cancelled.
    bool runWithPassphrase(const GpgRequest& request, const std::string& input, GpgResult& result);
    // What a command leaves to do once its sender has its answer: the result window of a
    // decryption, which names keys from the listings.
    void finishCommand();

    void encrypt(bool sign);
    void sign();
    void decryptVerify();
    void importKeys();
    void showPreferences();
    void showTools();
    void showResult(const std::string& text);
    bool toolsOpen() const;

private:
    bool clipboardText(std::string& text);
    std::string signerLabel(const std::vector<GpgKey>& secretKeys) const;
    std::string keyFolderStamp() const;
    struct KeyCache {
        std::string stamp;
        std::vector<GpgKey> keys;
    };
    KeyCache publicKeys_, secretKeys_;
    std::optional<GpgStatus> pendingDecryption_;
    bool busy_ = false;
    bool decryptionInView_ = false;  // the result window shows the last command's decryption
    bool appendResult_ = false;      // the next result goes below the one in view
    std::string agentFor_;  // the gpg.exe and key folder whose agent this program started
    std::unique_ptr<Form> result_;
    std::unique_ptr<Form> tools_;
};

// The recipient dialog: the public keys to choose from, with the "Encrypt to myself" choice.
// Returns the chosen fingerprints, or false when cancelled.
bool ChooseRecipients(const std::vector<GpgKey>& keys, bool& encryptToSelf, std::vector<std::string>& chosen);
// The pass-phrase dialog; false when cancelled.
bool AskPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase);

// Starts a program of this folder ("PGPKeys.Exe") without waiting for it.
void StartSiblingProgram(const char* fileName);

// Clipboard text (CF_TEXT) of the system.
bool ReadClipboardText(std::string& text);
// gpg's output onto the clipboard, its line ends made CR LF on the way.
bool WriteClipboardCrLf(std::string_view gpgOutput);

}  // namespace pgptray
