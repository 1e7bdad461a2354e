// The tray program's reader of gpg's --status-fd lines on arbitrary input, and the texts made from
// what it read: no crash, and every text ends by telling the user the clipboard was kept or
// names what happened.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "pgptray/gpg_status.h"
#include "pgptray/tray_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pgptray::GpgStatus st = pgptray::ParseStatus(text);
    const std::string failure = pgptray::DescribeFailure(st, text);
    if (failure.find("The clipboard was left as it was.") == std::string::npos) {
        std::fprintf(stderr, "a failure text that does not say the clipboard was kept\n");
        std::abort();
    }
    (void)pgptray::DescribeDecryption(st, {}, {});
    (void)pgptray::DescribeImport(st);
    if (pgptray::ToCrLf(text).size() < text.size()) std::abort();
    return 0;
}
