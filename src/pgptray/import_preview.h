#pragma once
// Keys that arrive inside mail are imported only when the user says so: what an import of the
// clipboard's text would bring (gpg --show-keys, which imports nothing), the questions asked
// about it, and the public key blocks alone for when the user refuses a secret key.
#include <string>
#include <string_view>
#include <vector>

#include "pgptray/gpg_listing.h"

namespace pgptray {

// The keys the text holds, read from gpg's --show-keys --with-colons output.
std::vector<GpgKey> ReadImportPreview(std::string_view showKeysOutput);
int SecretKeyCount(const std::vector<GpgKey>& keys);

// Each key's fingerprint, user ids and whether it is a secret key, then "Import them?".
std::string ImportQuestion(const std::vector<GpgKey>& keys);
// The question of its own that a secret key needs.
std::string SecretKeyQuestion(const std::vector<GpgKey>& keys);

// The text's public key blocks, armour lines included, and nothing else.
std::string PublicKeyBlocks(std::string_view text);

}  // namespace pgptray
