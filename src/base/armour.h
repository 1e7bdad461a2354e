#pragma once
// Recognition of PGP's ASCII armour header and footer lines, and the repair of armour lines
// that a mailer indented by one blank.
#include <string>
#include <string_view>

namespace v5 {

struct TPGPContent {
    bool AnyBlock = false;
    bool PublicKey = false;
    bool Signed = false;
    bool Message = false;

    bool operator==(const TPGPContent&) const = default;
};

TPGPContent ClassifyPGPText(std::string_view text);
std::string UnwrapPGPText(std::string_view text);

}  // namespace v5
