// Reads arbitrary bytes as a driver script and as the text of a plain editor's mail. A script is
// either refused with ScriptError or read whole; a script that was read names its mailer and a
// way to find both windows. The mail header split never loses or adds text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sbm/sbm_engine.h"
#include "sbm/sbm_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const v5::sbm::SbmScript script = v5::sbm::ParseSbmScript(text);
        if (script.Short.empty() || script.Information.empty()) std::abort();
        auto empty = [](const v5::STRINGER& s) { return s.Exact.empty() && s.Contains.empty(); };
        if (empty(script.mailer.TitleMatch) && empty(script.mailer.ClassMatch)) std::abort();
        if (empty(script.textWindow.TitleMatch) && empty(script.textWindow.ClassMatch)) std::abort();
        if (script.read == v5::sbm::TextAccess::Menu && script.copy.item.empty()) std::abort();
    } catch (const v5::sbm::ScriptError&) {
    }
    const v5::sbm::MailHeader header = v5::sbm::SplitMailHeader(text);
    if (header.block + header.body != text) std::abort();
    if (!header.found && !header.block.empty()) std::abort();
    return 0;
}
