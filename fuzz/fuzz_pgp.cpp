// Armour recogniser, repair and the operation decision on arbitrary input. Checks that the fast
// recogniser and repair agree with the plain ones, that the repair is complete after one
// application, that it never hides armour, and that the decision keeps its promises.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/base/armour_reference.h"
#include "base/armour.h"
#include "pgp/decision.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool covers(const v5::TPGPContent& wider, const v5::TPGPContent& narrower) {
    return (wider.AnyBlock || !narrower.AnyBlock) && (wider.PublicKey || !narrower.PublicKey) &&
           (wider.Signed || !narrower.Signed) && (wider.Message || !narrower.Message);
}

void checkArmour(std::string_view text) {
    const v5::TPGPContent content = v5::ClassifyPGPText(text);
    check(content == v5::testing::ReferenceClassifyPGPText(text), "classification equals the plain search");
    const std::string unwrapped = v5::UnwrapPGPText(text);
    check(unwrapped == v5::testing::ReferenceUnwrapPGPText(text), "repair equals the replacement loop");
    check(v5::UnwrapPGPText(unwrapped) == unwrapped, "a second repair changes nothing");
    const v5::TPGPContent after = v5::ClassifyPGPText(unwrapped);
    check(covers(after, content), "the repair never hides armour");
    check(content.AnyBlock || !(content.PublicKey || content.Signed || content.Message), "every kind is a block");
}

// Input: flags, window type, Routine and Special option, then NUL-separated body, To, Cc and
// mailing-list addresses.
void checkDecision(std::string_view data) {
    if (data.size() < 4) return;
    const auto flags = static_cast<unsigned char>(data[0]);
    v5::TMFDData mail;
    mail.Wtype = static_cast<std::int8_t>(data[1]);
    v5::TDecisionOptions options;
    options.RoutineRun = (flags & 1) != 0;
    options.PreferKeyImport = (flags & 2) != 0;
    options.RoutineOption = static_cast<std::int8_t>(data[2]) % 4;
    options.SpecialOption = static_cast<std::int8_t>(data[3]) % 4;
    std::vector<std::string> parts;
    std::string_view rest = data.substr(4);
    for (std::size_t nul; (nul = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(nul + 1))
        parts.emplace_back(rest.substr(0, nul));
    parts.emplace_back(rest);
    mail.Body = parts[0];
    mail.HasBody = !mail.Body.empty();
    if (parts.size() > 1) mail.To = parts[1];
    if (parts.size() > 2) mail.Cc = parts[2];
    // Bcc carries the first address, which must make no difference.
    if (parts.size() > 3) mail.Bcc = parts[3];
    std::vector<std::string> list(parts.size() > 3 ? parts.begin() + 3 : parts.end(), parts.end());
    options.MailingListAddresses = list;

    std::int32_t trace = 1;
    const v5::TOperationDecision d = v5::DecideOperation(mail, options, trace);

    const bool outward = (mail.Wtype & (v5::wtOutward | v5::wtPosting)) != 0;
    const bool inwardWindow = (mail.Wtype & v5::wtInward) != 0;
    const bool noData = !outward && !inwardWindow && mail.Body.empty();
    check((d.Refusal == v5::TRunRefusal::rrNoData) == noData, "no data exactly when nothing came");
    check(trace == (noData ? 1 : v5::tpDecisionListRule), "trace point");
    if (noData) return;
    check(d.PGPText == (inwardWindow ? v5::UnwrapPGPText(mail.Body) : mail.Body), "text for PGP");
    const v5::TPGPContent content = v5::ClassifyPGPText(d.PGPText);
    const bool refused = d.Refusal == v5::TRunRefusal::rrNoPGPData;
    check(refused == ((inwardWindow || (outward && content.AnyBlock && !content.PublicKey)) && !content.AnyBlock),
          "no PGP data exactly for incoming text without a block");
    if (refused) return;
    const bool promoted = outward && content.AnyBlock && !content.PublicKey;
    check(d.Inward == (inwardWindow || promoted), "incoming path");
    if (d.Inward)
        check(d.Switch == v5::kSwitchAutoDecryptVerify || d.Switch == v5::kSwitchAddKey, "incoming switch");
    if (d.Switch == v5::kSwitchAddKey) check(d.Inward && content.PublicKey, "a key is imported only from incoming text");
    if (d.AskListEncryption) check(!options.RoutineRun && !d.Inward && options.SpecialOption != v5::optSign, "ask");
    check(d.Switch.empty() || d.Switch == v5::kSwitchAutoEncrypt || d.Switch == v5::kSwitchAutoSign ||
              d.Switch == v5::kSwitchAutoEncryptSign || d.Switch == v5::kSwitchAutoDecryptVerify ||
              d.Switch == v5::kSwitchAddKey,
          "known switch");

    // Bcc is never examined.
    v5::TMFDData withoutBcc = mail;
    withoutBcc.Bcc.clear();
    std::int32_t trace2 = 0;
    check(v5::DecideOperation(withoutBcc, options, trace2) == d, "Bcc makes no difference");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkArmour(text);
    checkDecision(text);
    return 0;
}
