#include "pgptray/tray_app.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "pgptray/gpg_locate.h"
#include "pgptray/import_preview.h"
#include "pgptray/recipient_match.h"
#include "pgptray/tray_texts.h"
#include "platform/text_charset.h"

namespace pgptray {

void WipeSecret(std::string& secret) {
    // Through a volatile pointer: stores to a string about to go would otherwise be left out.
    volatile char* p = secret.data();
    for (std::size_t i = 0; i < secret.size(); ++i) p[i] = 0;
}

PresetKeys PresetRecipients(const std::vector<std::string>& arguments) {
    constexpr std::string_view prefix = "/recipient=";
    PresetKeys out;
    for (const std::string& a : arguments) {
        if (a.rfind(prefix, 0) != 0) continue;
        const std::string key = a.substr(prefix.size());
        (IsFingerprint(key) ? out.fingerprints : out.refused).push_back(key);
    }
    return out;
}

TrayApp::TrayApp(const TrayPorts& ports) : settings(LoadSettings(ports.settings)), ports_(ports) {}

std::string TrayApp::gpg() {
    Machine& m = ports_.machine;
    const std::string found = LocateGpg({settings.gpgPath, m.gnupgInstallDir(), m.environment("PATH")},
                                        [&m](const std::string& path) { return m.isFile(path); });
    if (found.empty()) {
        failed(kGpgNotFound);
        return found;
    }
    if (found + "|" + settings.keyFolder != agentFor_) {
        ports_.gpg.launchAgent(found, settings.keyFolder);
        agentFor_ = found + "|" + settings.keyFolder;
    }
    return found;
}

GpgRequest TrayApp::request(GpgOperation operation) const {
    GpgRequest r;
    r.operation = operation;
    r.keyFolder = settings.keyFolder;
    return r;
}

GpgResult TrayApp::run(const GpgRequest& request, const std::string& input, const std::string* passphrase) {
    const std::string exe = gpg();
    if (exe.empty()) return {};
    return ports_.gpg.run(exe, request, input, passphrase);
}

// When the key folder's files last changed: a listing taken since then still holds.
std::string TrayApp::keyFolderStamp() {
    std::string folder = settings.keyFolder;
    if (folder.empty()) folder = ports_.machine.environment("APPDATA") + "\\gnupg";
    std::string stamp = folder;
    for (const char* name : {"\\pubring.kbx", "\\private-keys-v1.d", "\\trustdb.gpg"}) {
        const std::string changed = ports_.machine.changeStamp(folder + name);
        if (!changed.empty()) stamp += "|" + changed;
    }
    return stamp;
}

std::vector<GpgKey> TrayApp::listKeys(bool secret) {
    const std::string exe = gpg();
    if (exe.empty()) return {};
    KeyListingCache& cache = secret ? secretKeys_ : publicKeys_;
    const std::string stamp = exe + "|" + keyFolderStamp();
    if (cache.stamp != stamp) {
        const GpgRequest listing = request(secret ? GpgOperation::ListSecretKeys : GpgOperation::ListPublicKeys);
        cache.keys = ParseKeyListing(ports_.gpg.run(exe, listing, {}, nullptr).output);
        cache.stamp = stamp;
    }
    return cache.keys;
}

bool TrayApp::runWithPassphrase(const GpgRequest& req, const std::string& input, GpgResult& result) {
    const std::string exe = gpg();
    if (exe.empty()) return false;
    // First without a pass phrase: an unprotected key, or one the agent holds, needs none.
    const std::string none;
    result = ports_.gpg.run(exe, req, input, &none);
    bool asked = false;
    while (result.started && result.exitCode != 0) {
        const GpgStatus st = ParseStatus(result.status);
        if (!st.anyPassphraseTrouble()) break;
        // A message names the keys it is for; ask for the pass phrase of ours among them, else
        // for the signing key's.
        const std::vector<GpgKey> secretKeys = listKeys(true);
        std::string keyLabel = signerLabel(secretKeys);
        for (const std::string& id : st.encryptedTo)
            if (const GpgKey* k = FindKey(secretKeys, id)) keyLabel = KeyLabel(*k);
        std::string passphrase;
        if (!ports_.dialogs.askPassphrase(keyLabel, asked, passphrase)) return false;
        asked = true;
        result = ports_.gpg.run(exe, req, input, &passphrase);
        WipeSecret(passphrase);
    }
    return true;
}

bool TrayApp::clipboardText(std::string& text, TextCharset charset) {
    if (ports_.clipboard.read(text, charset) && !text.empty()) return true;
    ports_.dialogs.message(kClipboardEmpty, MessageKind::Warning);
    return false;
}

std::string TrayApp::signerLabel(const std::vector<GpgKey>& secretKeys) const {
    const GpgKey* k = settings.defaultKey.empty() ? nullptr : FindKey(secretKeys, settings.defaultKey);
    if (!k) {
        for (const GpgKey& key : secretKeys)
            if (key.usable() && key.canSign) return KeyLabel(key);
        return "your key";
    }
    return KeyLabel(*k);
}

bool TrayApp::defaultKey(std::string& fingerprint) {
    fingerprint.clear();
    const std::string& stored = settings.defaultKey;
    if (stored.empty() || IsFingerprint(stored)) {
        fingerprint = stored;
        return true;
    }
    // Preferences written before keys were named by fingerprint may hold a short key id: kept
    // working when it names exactly one of the secret keys.
    if (IsShortKeyId(stored)) {
        const std::vector<GpgKey> matching = KeysWithShortId(listKeys(true), stored);
        if (matching.size() == 1) {
            settings.defaultKey = fingerprint = matching.front().fingerprint;
            SaveSettings(ports_.settings, settings);
            return true;
        }
    }
    failed(DefaultKeyRefused(stored));
    return false;
}

bool TrayApp::ownKey(const std::string& defaultKey, std::string& fingerprint) {
    std::vector<GpgKey> candidates = listKeys(true);
    std::erase_if(candidates, [](const GpgKey& k) { return !k.usable() || !k.canEncrypt; });
    if (const GpgKey* k = defaultKey.empty() ? nullptr : FindKey(candidates, defaultKey)) {
        fingerprint = k->fingerprint;
        return true;
    }
    if (candidates.empty()) {
        ports_.dialogs.message(kNoOwnKey, MessageKind::Warning);
        return false;
    }
    if (!ports_.dialogs.chooseOwnKey(candidates, fingerprint) || !FindKey(candidates, fingerprint)) return false;
    settings.defaultKey = fingerprint;
    SaveSettings(ports_.settings, settings);
    return true;
}

void TrayApp::command(TrayCommand c) {
    std::optional<v5::RequestNote> note = std::exchange(nextNote_, std::nullopt);
    if (busy_) return;  // one operation at a time; a request meanwhile is refused
    busy_ = true;
    note_ = std::move(note);
    // A decryption's result comes before anything the next command shows. The import of a key
    // that came inside the decrypted message (the sender's next request) is added below it, so
    // that who signed that message stays in view beside what its key did.
    finishCommand();
    appendResult_ = c == TrayCommand::ImportKeys && decryptionInView_ && ports_.dialogs.resultOpen();
    decryptionInView_ = false;
    // The preferences may have been changed meanwhile by PGPTools.Exe or PGPKeys.Exe.
    settings = LoadSettings(ports_.settings);
    try {
        switch (c) {
            case TrayCommand::Encrypt: encrypt(false); break;
            case TrayCommand::EncryptSign: encrypt(true); break;
            case TrayCommand::Sign: sign(); break;
            case TrayCommand::DecryptVerify: decryptVerify(); break;
            case TrayCommand::ImportKeys: importKeys(); break;
            case TrayCommand::Preferences: showPreferences(); break;
            case TrayCommand::Tools: ports_.dialogs.showTools(); break;
            case TrayCommand::Nothing: break;
        }
    } catch (const std::exception& e) {
        failed(std::string("The operation failed: ") + e.what() + "\r\nThe clipboard was left as it was.");
    }
    note_.reset();
    appendResult_ = false;
    busy_ = false;
}

void TrayApp::encrypt(bool withSignature) {
    std::string text, signer;
    if (!clipboardText(text) || gpg().empty()) return;
    if (!refusedRecipients.empty()) return failed(RecipientRefused(refusedRecipients.front()));
    if (!defaultKey(signer)) return;
    std::vector<std::string> recipients = presetRecipients;
    if (recipients.empty()) {
        bool toSelf = settings.encryptToSelf;
        if (!chooseRecipients(toSelf, recipients)) return;
        if (toSelf != settings.encryptToSelf) {
            settings.encryptToSelf = toSelf;
            SaveSettings(ports_.settings, settings);
        }
        std::string self;
        if (toSelf && !ownKey(signer, self)) return;
        if (!self.empty() && std::find(recipients.begin(), recipients.end(), self) == recipients.end())
            recipients.push_back(self);
        signer = settings.defaultKey;  // the key just chosen as mine also signs
    }
    if (recipients.empty()) {
        ports_.dialogs.message("No recipient was chosen. The clipboard was left as it was.", MessageKind::Warning);
        return;
    }
    GpgRequest req = request(withSignature ? GpgOperation::EncryptSign : GpgOperation::Encrypt);
    req.recipients = recipients;
    req.signer = signer;
    GpgResult r;
    if (withSignature) {
        if (!runWithPassphrase(req, text, r)) return;
    } else {
        r = run(req, text);
    }
    deliver(r, JudgeEncryption(r));
}

bool TrayApp::chooseRecipients(bool& toSelf, std::vector<std::string>& recipients) {
    const std::vector<GpgKey> keys = listKeys(false);
    const RecipientMatch match = note_ ? MatchRecipients(note_->addresses, keys) : RecipientMatch{};
    recipients = match.fingerprints;
    // Never past the dialog with blind copies: their keys would show in the message to everyone.
    if (note_ && settings.encryptWithoutAsking && !note_->hasBcc && !note_->addresses.empty() &&
        match.everyAddress())
        return true;
    const std::string notice = RecipientNotice(match.withoutKey, match.withSeveral);
    return ports_.dialogs.chooseRecipients(keys, notice, toSelf, recipients);
}

// A clear signature covers the bytes the recipient will see: UTF-8 from a mailer that shows
// Unicode text, else the code-page bytes an 8-bit mailer sends.
void TrayApp::sign() {
    const TextCharset charset = note_ && note_->utf8 ? TextCharset::Utf8 : TextCharset::CodePage;
    std::string text;
    if (!clipboardText(text, charset) || gpg().empty()) return;
    GpgRequest req = request(GpgOperation::ClearSign);
    if (!defaultKey(req.signer)) return;
    GpgResult r;
    if (!runWithPassphrase(req, text, r)) return;
    deliver(r, JudgeClearSignature(r), charset);
}

// Encrypted text is UTF-8 inside the message. A clear signature over text beyond ASCII may have
// been made over the code-page bytes by an older program or an 8-bit mailer: when it reads bad
// as UTF-8, it is checked again over the clipboard's text in the code page.
void TrayApp::decryptVerify() {
    std::string text;
    if (!clipboardText(text) || gpg().empty()) return;
    GpgResult r;
    if (!runWithPassphrase(request(GpgOperation::DecryptVerify), text, r)) return;
    GpgVerdict v = JudgeDecryption(r, text);
    if (v.status.signatures.empty() || v5::IsPlainAscii(text)) return deliver(r, v);
    std::string codePageText;
    GpgResult again;
    if (SignatureReadsBad(v) && ports_.clipboard.read(codePageText, TextCharset::CodePage) && codePageText != text &&
        runWithPassphrase(request(GpgOperation::DecryptVerify), codePageText, again)) {
        GpgVerdict w = JudgeDecryption(again, codePageText);
        if (SignatureHolds(w) && w.textToClipboard) {
            w.signedCharset = SignedCharset::CodePage;
            return deliver(again, w, TextCharset::CodePage);
        }
    }
    if (SignatureHolds(v)) v.signedCharset = SignedCharset::Utf8;
    deliver(r, v);
}

void TrayApp::deliver(const GpgResult& r, const GpgVerdict& v, TextCharset charset) {
    if (v.textToClipboard) ports_.clipboard.writeCrLf(r.output, charset);
    else if (!v.failure.empty()) failed(v.failure);
    // The result window needs the key listings; the caller gets its clipboard first.
    if (v.showResult) pendingDecryption_ = v;
}

void TrayApp::finishCommand() {
    if (!pendingDecryption_) return;
    const GpgVerdict v = *pendingDecryption_;
    pendingDecryption_.reset();
    showResult(DescribeDecryption(v, listKeys(true), listKeys(false)));
    decryptionInView_ = true;
}

bool TrayApp::importAsked(const std::string& text, std::string& toImport) {
    const GpgResult shown = run(request(GpgOperation::ShowKeys), text);
    if (!shown.started) return false;
    const std::vector<GpgKey> keys = ReadImportPreview(shown.output);
    if (keys.empty()) {
        showResult(DescribeImport(GpgStatus{}));
        return false;
    }
    if (!ports_.dialogs.ask(ImportQuestion(keys))) return false;
    toImport = text;
    if (SecretKeyCount(keys) == 0 || ports_.dialogs.ask(SecretKeyQuestion(keys))) return true;
    // The public blocks alone, looked at again: an armour line may call a secret key public.
    toImport = PublicKeyBlocks(text);
    const std::vector<GpgKey> publicOnly =
        toImport.empty() ? std::vector<GpgKey>{} : ReadImportPreview(run(request(GpgOperation::ShowKeys), toImport).output);
    if (!publicOnly.empty() && SecretKeyCount(publicOnly) == 0) return true;
    showResult(kPublicKeysNotSeparable);
    return false;
}

void TrayApp::importKeys() {
    std::string text, toImport;
    if (!clipboardText(text) || !importAsked(text, toImport)) return;
    const GpgResult r = run(request(GpgOperation::Import), toImport);
    if (!r.started) return;
    showResult(DescribeImport(ParseStatus(r.status)));
}

void TrayApp::showResult(const std::string& text) {
    if (appendResult_ && ports_.dialogs.resultOpen()) {
        appendResult_ = false;
        ports_.dialogs.appendResult("\r\n" + text);
        return;
    }
    ports_.dialogs.showResult(text);
}

void TrayApp::showPreferences() {
    std::vector<std::string> signingKeys;
    if (!gpg().empty())
        for (const GpgKey& k : listKeys(true))
            if (k.usable()) signingKeys.push_back(k.fingerprint);
    TraySettings edited = settings;
    if (!ports_.dialogs.editPreferences(edited, signingKeys)) return;
    if (!edited.defaultKey.empty() && !IsFingerprint(edited.defaultKey)) {
        ports_.dialogs.message(kDefaultKeyNotFingerprint, MessageKind::Warning);
        return;
    }
    settings = edited;
    SaveSettings(ports_.settings, settings);
}

}  // namespace pgptray
