#pragma once
// The narrow interfaces through which the tray programs' core reaches the machine. Each has a
// Win32 adapter in win32/ and a recording fake in tests/fakes/fake_tray.h.
#include <string>
#include <string_view>
#include <vector>

#include "pgptray/gpg_command.h"
#include "pgptray/gpg_listing.h"
#include "pgptray/tray_settings.h"

namespace pgptray {

// What one run of gpg.exe gave.
struct GpgResult {
    bool started = false;
    bool cancelled = false;           // the user ended gpg before it was done
    bool outputLimitReached = false;  // gpg wrote more than OutputLimit allows and was ended
    unsigned long exitCode = 0;
    std::string output;    // standard output: the armoured or plain text
    std::string messages;  // standard error: gpg's own messages, for the user when it fails
    std::string status;    // the --status-fd lines
};

// Where the preferences are kept: section "Preferences" of PGPTray.ini beside the programs.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(const std::string& key, const std::string& fallback) = 0;
    virtual void write(const std::string& key, const std::string& value) = 0;
};

// The character set a text goes to gpg in and comes back from it.
enum class TextCharset {
    // Read: the clipboard's Unicode text as UTF-8. Written: gpg's output read as UTF-8 where it is
    // valid UTF-8, else in the system's code page (what older programs put in their messages).
    Utf8,
    // The clipboard's 8-bit text in the system's code page, as Vostrel 5 and 8-bit mailers have it.
    CodePage,
};

// The system clipboard's text.
class ClipboardText {
public:
    virtual ~ClipboardText() = default;
    // False when the clipboard holds no text; throws when another program keeps holding it.
    virtual bool read(std::string& text, TextCharset charset) = 0;
    // gpg's output onto the clipboard as Unicode text, its line ends made CR LF on the way;
    // throws as read does.
    virtual bool writeCrLf(std::string_view gpgOutput, TextCharset charset) = 0;
};

// Runs gpg.exe (and gpgconf.exe beside it).
class GpgRunner {
public:
    virtual ~GpgRunner() = default;
    // passphrase null: no pass-phrase pipe is offered. Throws std::invalid_argument for a request
    // that GpgArguments refuses.
    virtual GpgResult run(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                          const std::string* passphrase) = 0;
    // Starts gpg's agent for the key folder, unless it runs already.
    virtual void launchAgent(const std::string& gpgExe, const std::string& keyFolder) = 0;
};

// What the programs learn of the machine: where GnuPG was installed, the environment, files.
class Machine {
public:
    virtual ~Machine() = default;
    // The folder that GnuPG's installer recorded (HKLM\Software\GnuPG "Install Directory"), or empty.
    virtual std::string gnupgInstallDir() = 0;
    virtual std::string environment(const std::string& name) = 0;
    virtual bool isFile(const std::string& path) = 0;
    // When the file or folder last changed, and its size, as text; empty when it is missing.
    virtual std::string changeStamp(const std::string& path) = 0;
};

enum class MessageKind { Error, Warning, Information };

// The windows the programs show the user.
class TrayDialogs {
public:
    virtual ~TrayDialogs() = default;
    // The recipient dialog over the public keys, with the "Encrypt to myself" choice: the keys in
    // `chosen` come preselected and `notice` (when not empty) is shown above the list; the chosen
    // fingerprints (usable keys only), or false when cancelled.
    virtual bool chooseRecipients(const std::vector<GpgKey>& keys, const std::string& notice, bool& encryptToSelf,
                                  std::vector<std::string>& chosen) = 0;
    // The user's own key among the secret keys (for "Encrypt to myself" when no default key is
    // set): its fingerprint, or false when cancelled.
    virtual bool chooseOwnKey(const std::vector<GpgKey>& secretKeys, std::string& fingerprint) = 0;
    // retry: the last pass phrase was wrong. False when cancelled.
    virtual bool askPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase) = 0;
    // The preferences window, offering the fingerprints as signing keys; false when cancelled.
    virtual bool editPreferences(TraySettings& settings, const std::vector<std::string>& signingKeys) = 0;
    // A message box captioned "PGPtray".
    virtual void message(const std::string& text, MessageKind kind) = 0;
    // A Yes/No question whose default is No; true for Yes.
    virtual bool ask(const std::string& question) = 0;
    // The result window, left open: a new one, or more text below what the open one shows.
    virtual void showResult(const std::string& text) = 0;
    virtual void appendResult(const std::string& text) = 0;
    virtual bool resultOpen() = 0;
    // The tools window, left open; its buttons send the hidden window's commands.
    virtual void showTools() = 0;
};

// The ports a program's core is given.
struct TrayPorts {
    SettingsStore& settings;
    ClipboardText& clipboard;
    GpgRunner& gpg;
    Machine& machine;
    TrayDialogs& dialogs;
};

}  // namespace pgptray
