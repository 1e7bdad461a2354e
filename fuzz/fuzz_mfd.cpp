// Reads arbitrary bytes as a mail form data file. Checks that the reading agrees with the plain
// step-by-step one, and that writing what was read and reading it again gives the same record
// (CR and LF inside header values written as blanks), which a second rewrite leaves alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/drivers/mfd_reference.h"
#include "drivers/mfd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const v5::TMFDData parsed = v5::ParseMFDText(text);
    if (!(parsed == v5::testing::ReferenceParse(text))) std::abort();

    const v5::TMFDData reread = v5::ParseMFDText(v5::FormatMFDText(parsed));
    if (!(reread == v5::testing::AsWrittenAndRead(parsed))) std::abort();
    if (!(v5::ParseMFDText(v5::FormatMFDText(reread)) == reread)) std::abort();

    // The single-key lookup on the text as given agrees with the plain one.
    const std::string whole(text);
    const std::string folded = v5::testing::ReferenceFold(whole);
    for (std::string_view key : {"To:", "wtype:", "MFD-STATE:"})
        if (v5::GetMFDValue(key, text) != v5::testing::ReferenceValue(key, whole, folded)) std::abort();
    return 0;
}
