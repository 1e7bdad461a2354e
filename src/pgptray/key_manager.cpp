#include "pgptray/key_manager.h"

#include "pgptray/tray_texts.h"

namespace pgptray {

std::string KeyListEntry(const GpgKey& k, bool pair) { return (pair ? "pair\t" : "public\t") + RecipientEntry(k); }

std::string NewKeyPairProblem(const std::string& name, const std::string& email, const std::string& passphrase,
                              const std::string& repeated) {
    if (name.empty() || email.empty()) return "Give a name and an e-mail address.";
    if (passphrase != repeated) return "The two pass phrases differ.";
    return {};
}

KeyManager::Listing KeyManager::list() {
    Listing out;
    out.keys = app_.listKeys(false);
    const std::vector<GpgKey> secret = app_.listKeys(true);
    for (const GpgKey& k : out.keys) out.entries.push_back(KeyListEntry(k, FindKey(secret, k.fingerprint) != nullptr));
    return out;
}

void KeyManager::failedUnlessZero(const GpgResult& r) {
    if (r.started && r.exitCode != 0)
        app_.dialogs().message(DescribeFailure(ParseStatus(r.status), r.messages), MessageKind::Error);
}

bool KeyManager::importText(const std::string& text) {
    const GpgResult r = app_.run(app_.request(GpgOperation::Import), text);
    if (!r.started) return false;
    app_.dialogs().message(DescribeImport(ParseStatus(r.status)), MessageKind::Information);
    return true;
}

bool KeyManager::importClipboard() {
    std::string text;
    return app_.clipboard().read(text, TextCharset::Utf8) && importText(text);
}

void KeyManager::copyPublicKey(const GpgKey& key) {
    GpgRequest req = app_.request(GpgOperation::ExportPublicKey);
    req.key = key.fingerprint;
    const GpgResult r = app_.run(req);
    if (r.exitCode == 0 && !r.output.empty()) app_.clipboard().writeCrLf(r.output, TextCharset::Utf8);
    else if (r.started) app_.dialogs().message(DescribeFailure(ParseStatus(r.status), r.messages), MessageKind::Error);
}

bool KeyManager::deleteKey(const GpgKey& key) {
    const std::string question = "Delete the key of " + KeyLabel(key) + " (" + key.keyId +
                                 ")?\r\nIts secret key, if you hold it, is deleted too, and cannot be brought back.";
    if (!app_.dialogs().ask(question)) return false;
    GpgRequest req = app_.request(GpgOperation::DeleteKey);
    req.key = key.fingerprint;
    failedUnlessZero(app_.run(req));
    return true;
}

bool KeyManager::markVerified(const GpgKey& key) {
    GpgRequest req = app_.request(GpgOperation::MarkVerified);
    req.key = key.fingerprint;
    GpgResult r;
    if (!app_.defaultKey(req.signer) || !app_.runWithPassphrase(req, {}, r)) return false;
    failedUnlessZero(r);
    return true;
}

bool KeyManager::newKeyPair(const std::string& name, const std::string& email, std::string passphrase) {
    std::string parameters = KeyGenerationParameters(name, email, passphrase);
    // The pass phrase also goes through the pass-phrase pipe: gpg signs the new key with it,
    // and the agent, if it keeps no pass phrases, asks for it once more.
    const GpgResult r = app_.run(app_.request(GpgOperation::GenerateKey), parameters, &passphrase);
    WipeSecret(passphrase);
    WipeSecret(parameters);
    failedUnlessZero(r);
    return true;
}

}  // namespace pgptray
