#pragma once
// What PGPKeys.Exe does with the key folder, its window aside: the list's entries, imports, a
// public key copied to the clipboard, deleting a key after a question, a key marked as verified,
// a new key pair.
#include <string>
#include <vector>

#include "pgptray/tray_app.h"

namespace pgptray {

class KeyManager {
public:
    explicit KeyManager(TrayApp& app) : app_(app) {}

    // The public keys, listed afresh; each entry's text is KeyListEntry's.
    struct Listing {
        std::vector<GpgKey> keys;
        std::vector<std::string> entries;
    };
    Listing list();

    // Each tells the user what came of it; true when the key folder may have changed, so the
    // list is to be read again.
    bool importText(const std::string& text);
    bool importClipboard();
    void copyPublicKey(const GpgKey& key);
    bool deleteKey(const GpgKey& key);
    // Certifies the key with a local signature of the default key (or gpg's), which makes it
    // verified: the user has checked its fingerprint with its owner.
    bool markVerified(const GpgKey& key);
    // The pass phrase is wiped once gpg has it.
    bool newKeyPair(const std::string& name, const std::string& email, std::string passphrase);

private:
    void failedUnlessZero(const GpgResult& r);
    TrayApp& app_;
};

// One line of the key list: "pair" or "public", then RecipientEntry's columns.
std::string KeyListEntry(const GpgKey& key, bool pair);

// What is wrong with the new key pair dialog's fields, or empty when they will do.
std::string NewKeyPairProblem(const std::string& name, const std::string& email, const std::string& passphrase,
                              const std::string& repeated);

}  // namespace pgptray
