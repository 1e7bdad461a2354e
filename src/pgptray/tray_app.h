#pragma once
// The tray program's state and its operations on the clipboard's text, shared by PGPTray.Exe,
// PGPTools.Exe and PGPKeys.Exe; it reaches the machine only through its ports.
#include <optional>
#include <string>
#include <vector>

#include "base/request_note.h"
#include "pgptray/gpg_command.h"
#include "pgptray/gpg_listing.h"
#include "pgptray/gpg_status.h"
#include "pgptray/gpg_verdict.h"
#include "pgptray/tray_commands.h"
#include "pgptray/tray_ports.h"

namespace pgptray {

class TrayApp {
public:
    explicit TrayApp(const TrayPorts& ports);

    TraySettings settings;
    // Recipients given on the command line ("/recipient=FINGERPRINT"): encryption then asks no one.
    // A "/recipient=" that is no full fingerprint stops encryption with a message.
    std::vector<std::string> presetRecipients;
    std::vector<std::string> refusedRecipients;

    // Handles one command of the hidden window; a command while another runs is refused.
    void command(TrayCommand command);
    // What Vostrel 5 says of the message before its next request (the recipients, and whether its
    // mailer shows Unicode text, so that a signature covers UTF-8 rather than code-page bytes): it
    // applies to the next command alone, whatever becomes of it, and is forgotten afterwards.
    void takeNote(v5::RequestNote note) { nextNote_ = std::move(note); }
    bool busy() const { return busy_; }
    // What a command leaves to do once its sender has its answer: the result window of a
    // decryption, which names keys from the listings.
    void finishCommand();

    // The path of gpg.exe, or empty after telling the user it is missing.
    std::string gpg();
    GpgRequest request(GpgOperation operation) const;
    // passphrase: handed to gpg through its pass-phrase pipe (null: none offered).
    GpgResult run(const GpgRequest& request, const std::string& input = {}, const std::string* passphrase = nullptr);
    // Kept while the key folder's files are unchanged.
    std::vector<GpgKey> listKeys(bool secret);
    // Runs an operation that may need a pass phrase: asks for it (again after a wrong one) in
    // the pass-phrase dialog. False when the user cancelled or gpg is missing.
    bool runWithPassphrase(const GpgRequest& request, const std::string& input, GpgResult& result);
    // Who signs: the preferences' key among the secret keys, else the first usable one that signs.
    std::string signerLabel(const std::vector<GpgKey>& secretKeys) const;
    // The preferences' default key as a full fingerprint (empty: none is set). A stored short key
    // id that names exactly one secret key is rewritten as its fingerprint; any other is refused
    // with a message, and false returned.
    bool defaultKey(std::string& fingerprint);

    void encrypt(bool withSignature);
    void sign();
    void decryptVerify();
    void importKeys();
    void showPreferences();

    TrayDialogs& dialogs() { return ports_.dialogs; }
    ClipboardText& clipboard() { return ports_.clipboard; }

private:
    bool clipboardText(std::string& text, TextCharset charset = TextCharset::Utf8);
    // Carries out what gpg's run came to: its output onto the clipboard in that character set (and
    // a decryption's result shown once the sender has its answer), or the failure told.
    void deliver(const GpgResult& result, const GpgVerdict& verdict, TextCharset charset = TextCharset::Utf8);
    void showResult(const std::string& text);
    // "Encrypt to myself": the default key when it is a usable secret key that encrypts, else the
    // one the user chooses (kept as the default key). False when there is none or it was cancelled.
    bool ownKey(const std::string& defaultKey, std::string& fingerprint);
    // The recipients' keys: at once when the note names them all and the preferences allow it,
    // else as chosen in the dialog, preselected from the note. False when cancelled.
    bool chooseRecipients(bool& encryptToSelf, std::vector<std::string>& recipients);
    // The text to import after the user's answers, or false when nothing is to be imported.
    bool importAsked(const std::string& text, std::string& toImport);
    std::string keyFolderStamp();
    void failed(const std::string& why) { ports_.dialogs.message(why, MessageKind::Error); }

    struct KeyListingCache {
        std::string stamp;  // gpg.exe and the key folder's files when the listing was taken
        std::vector<GpgKey> keys;
    };
    TrayPorts ports_;
    KeyListingCache publicKeys_, secretKeys_;
    std::optional<GpgVerdict> pendingDecryption_;
    std::optional<v5::RequestNote> nextNote_;  // for the next command
    std::optional<v5::RequestNote> note_;      // for the command in progress
    bool busy_ = false;
    bool decryptionInView_ = false;  // the result window shows the last command's decryption
    bool appendResult_ = false;      // the next result goes below the one in view
    std::string agentFor_;  // the gpg.exe and key folder whose agent this program started
};

// The recipients named on PGPTray.Exe's command line, in order: each "/recipient=" argument that
// is a full fingerprint; the others are refused.
struct PresetKeys {
    std::vector<std::string> fingerprints, refused;
};
PresetKeys PresetRecipients(const std::vector<std::string>& arguments);

// Overwrites a pass phrase (or a text holding one) before it is let go.
void WipeSecret(std::string& secret);

}  // namespace pgptray
