// The tray program's reader of gpg's --with-colons key listings on arbitrary input: no crash, and
// every key it returns can be named to gpg and found again by its fingerprint.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "pgptray/gpg_command.h"
#include "pgptray/gpg_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto keys = pgptray::ParseKeyListing(text);
    for (const pgptray::GpgKey& k : keys) {
        if (k.fingerprint.empty() || !pgptray::FindKey(keys, k.fingerprint)) {
            std::fprintf(stderr, "a listed key cannot be found by its fingerprint\n");
            std::abort();
        }
        for (const auto& id : k.userIds) (void)pgptray::SplitUserId(id.text);
    }
    return 0;
}
