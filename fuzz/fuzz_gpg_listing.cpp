// The tray program's reader of gpg's --with-colons key listings on arbitrary input: no crash,
// every key it returns can be named to gpg and found again by its fingerprint, and its lines in
// the key lists hold only their own tabs, whatever its user ids hold.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "pgptray/gpg_command.h"
#include "pgptray/gpg_listing.h"
#include "pgptray/key_manager.h"
#include "pgptray/tray_texts.h"

namespace {

bool hasControl(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c != '\t' && (c < 0x20 || c == 0x7F);
    });
}

}  // namespace

using fuzzcheck::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto keys = pgptray::ParseKeyListing(text);
    for (const pgptray::GpgKey& k : keys) {
        if (k.fingerprint.empty() || !pgptray::FindKey(keys, k.fingerprint))
            fail("a listed key cannot be found by its fingerprint");
        for (const auto& id : k.userIds) (void)pgptray::SplitUserId(id.text);
        const std::string entry = pgptray::KeyListEntry(k, k.secret);
        if (std::count(entry.begin(), entry.end(), '\t') != 4 || hasControl(entry))
            fail("a key list line laid out by what the key holds");
        if (hasControl(pgptray::KeyLabel(k))) fail("a key's label with a control character");
    }
    return 0;
}
