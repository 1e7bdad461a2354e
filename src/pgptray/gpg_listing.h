#pragma once
// The key listing that gpg prints with --with-colons, read into one record per key.
#include <string>
#include <string_view>
#include <vector>

namespace pgptray {

struct GpgUserId {
    std::string text;   // the whole user id, unescaped
    std::string name;   // the part before " <", or the whole text when it has no address
    std::string email;  // the address between '<' and '>', or empty
    char validity = '-';
};

struct GpgKey {
    std::string fingerprint;  // of the primary key
    std::string keyId;        // its long key id (16 hex digits)
    char validity = '-';      // field 2 of the primary key's record
    bool secret = false;      // listed as "sec" (a secret key listing)
    bool expired = false;
    bool revoked = false;
    bool disabled = false;
    bool canEncrypt = false;  // the key as a whole (capital letters of field 12)
    bool canSign = false;
    std::vector<std::string> subkeyIds;  // long key ids of its subkeys
    std::vector<GpgUserId> userIds;  // in the order listed; the first is the primary one

    // A key the user may pick as a recipient or signer.
    bool usable() const { return !expired && !revoked && !disabled; }
    const GpgUserId* primary() const { return userIds.empty() ? nullptr : &userIds.front(); }
};

// Reads a --with-colons --fixed-list-mode listing of public ("pub") or secret ("sec") keys.
// Records it does not know, and malformed ones, are passed over. User ids come back as visible
// text (VisibleText): whatever a key claims cannot lay out what is shown around it.
std::vector<GpgKey> ParseKeyListing(std::string_view listing);

// Undoes gpg's escaping of listing fields ("\x3a" for ':', "\n", "\\" ...).
std::string UnescapeColonField(std::string_view field);

// Splits "Name (comment) <address>" into name and address.
GpgUserId SplitUserId(std::string_view text);

// The keys whose own (primary) key id or fingerprint ends in the short key id (any letter case,
// "0x" allowed).
std::vector<GpgKey> KeysWithShortId(const std::vector<GpgKey>& keys, std::string_view shortId);

// The key whose fingerprint, long or short key id, or a subkey's long key id, is the given text (any letter case), or null.
const GpgKey* FindKey(const std::vector<GpgKey>& keys, std::string_view idOrFingerprint);

}  // namespace pgptray
