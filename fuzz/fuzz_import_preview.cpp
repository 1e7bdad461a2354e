// What an import would bring, on arbitrary gpg --show-keys output and clipboard text: no crash;
// the question names every key by its fingerprint, starts a line with SECRET for each secret key
// (and for no other), and holds no control character but its own line breaks; the public blocks
// taken out of a text are whole.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "pgptray/import_preview.h"
#include "pgptray/tray_texts.h"

using fuzzcheck::fail;
using fuzzcheck::linesStarting;
using fuzzcheck::onlyOwnLineBreaks;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto keys = pgptray::ReadImportPreview(text);
    if (!keys.empty()) {
        const std::string question = pgptray::ImportQuestion(keys);
        if (!onlyOwnLineBreaks(question)) fail("a question laid out by what a key holds");
        if (keys.size() <= 8) {
            for (const auto& k : keys)
                if (question.find(pgptray::FormatFingerprint(k.fingerprint)) == std::string::npos)
                    fail("a key the question does not name");
            if (linesStarting(question, "SECRET key ") != pgptray::SecretKeyCount(keys))
                fail("a secret key not called so, or a public one called secret");
        }
        if (pgptray::SecretKeyCount(keys) > 0 && !onlyOwnLineBreaks(pgptray::SecretKeyQuestion(keys)))
            fail("a secret key's question laid out by what the key holds");
    }
    const std::string blocks = pgptray::PublicKeyBlocks(text);
    constexpr std::string_view kBegin = "-----BEGIN PGP PUBLIC KEY BLOCK-----", kEnd = "-----END PGP PUBLIC KEY BLOCK-----\n";
    if (!blocks.empty() && (blocks.rfind(kBegin, 0) != 0 || blocks.size() < kEnd.size() ||
                            blocks.compare(blocks.size() - kEnd.size(), kEnd.size(), kEnd) != 0))
        fail("a public key block cut short");
    if (blocks.size() > text.size() + text.size() / kBegin.size() + 1) fail("public blocks larger than the text");
    return 0;
}
