#include "pgp/decision.h"

#include <utility>

#include "base/armour.h"
#include "base/strings.h"

namespace v5 {

void OutwardSwitch(std::int32_t index, std::string& switchText) {
    switch (index) {
        case optEncrypt: switchText = kSwitchAutoEncrypt; break;
        case optSign: switchText = kSwitchAutoSign; break;
        case optEncryptAndSign: switchText = kSwitchAutoEncryptSign; break;
        default: break;
    }
}

bool ListRecipientFound(std::string_view to, std::string_view cc, std::span<const std::string> addresses) {
    std::string recipients;
    recipients.reserve(to.size() + cc.size() + 2);
    recipients.append(to).append(1, ' ').append(cc);
    std::string text(TrimControlAndBlanks(recipients));
    text += ' ';

    // Blank, comma and semicolon separate; a run of separators ends one token, so no token is
    // ever empty and an empty list entry never matches. CR and LF separate too: a driver that
    // ends a header line with a lone LF lets the next line run on into the value, and the
    // address before it must still stand alone.
    std::size_t tokenStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != ' ' && c != ',' && c != ';' && c != '\r' && c != '\n') continue;
        if (i > tokenStart) {
            const std::string_view token(text.data() + tokenStart, i - tokenStart);
            for (const std::string& address : addresses)
                if (SameTextIgnoringCase(address, token)) return true;
        }
        tokenStart = i + 1;
    }
    return false;
}

TOperationDecision DecideOperation(TMFDData mail, const TDecisionOptions& options, std::int32_t& tracePoint) {
    TOperationDecision result;
    const bool routine = options.RoutineRun;

    bool isMail = (mail.Wtype & wtOutward) != 0;
    bool posting = (mail.Wtype & wtPosting) != 0;
    bool inward = (mail.Wtype & wtInward) != 0;

    if (!isMail && !posting && !inward && mail.Body.empty()) {
        result.Refusal = TRunRefusal::rrNoData;
        return result;
    }

    // Only incoming text is repaired: an outgoing message is the user's own and goes as it is.
    result.PGPText = inward ? UnwrapPGPText(mail.Body) : std::move(mail.Body);
    tracePoint = tpDecisionText;

    const TPGPContent content = ClassifyPGPText(result.PGPText);

    // An outgoing window whose text already holds armour, other than a key that the user is
    // sending, is treated as incoming mail.
    if ((isMail || posting) && content.AnyBlock && !content.PublicKey) inward = true;

    bool importKey = inward && content.PublicKey && !content.Signed && !content.Message;
    if (!routine && options.PreferKeyImport && inward && content.PublicKey) importKey = true;
    tracePoint = tpDecisionKeyImport;

    const bool listHit = ListRecipientFound(mail.To, mail.Cc, options.MailingListAddresses);
    tracePoint = tpDecisionListRule;

    std::string switchText;
    if (routine && isMail) OutwardSwitch(options.RoutineOption, switchText);
    if (routine && (posting || listHit)) switchText = kSwitchAutoSign;
    if (!routine) OutwardSwitch(options.SpecialOption, switchText);
    if (inward) {
        if (!content.AnyBlock) {
            result.Refusal = TRunRefusal::rrNoPGPData;
            return result;
        }
        switchText = kSwitchAutoDecryptVerify;
        posting = false;
    }
    if (importKey) switchText = kSwitchAddKey;

    result.Switch = std::move(switchText);
    result.AskListEncryption = !routine && posting && options.SpecialOption != optSign;
    result.Inward = inward;
    result.Refusal = TRunRefusal::rrNone;
    return result;
}

}  // namespace v5
