#pragma once
// The choice of the PGP operation for one processing run: encrypt, sign or both for outgoing
// mail, decrypt and verify or import a key for incoming mail, or a refusal. A pure function of
// the mail form data, the way the run was started and the user's options; its only effect is on
// the trace point it is given.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "drivers/mfd.h"

namespace v5 {

// Switches of the PGP command table that the decision chooses.
inline constexpr std::string_view kSwitchAutoEncrypt = "-AutoEncrypt";
inline constexpr std::string_view kSwitchAutoSign = "-AutoSign";
inline constexpr std::string_view kSwitchAutoEncryptSign = "-AutoEncryptSign";
inline constexpr std::string_view kSwitchAutoDecryptVerify = "-AutoDecryptVerify";
inline constexpr std::string_view kSwitchAddKey = "-AddKey";

// Trace points that the decision sets.
enum : std::int32_t { tpDecisionText = 5507, tpDecisionKeyImport = 5508, tpDecisionListRule = 5509 };

// Item indexes of the outward radio groups; -1 means that no item is selected.
enum : std::int32_t { optNone = -1, optEncrypt = 0, optSign = 1, optEncryptAndSign = 2 };

enum class TRunRefusal {
    rrNone,
    rrNoData,     // nothing usable came from the mailer
    rrNoPGPData,  // an incoming message holds no PGP block
};

struct TOperationDecision {
    TRunRefusal Refusal = TRunRefusal::rrNone;
    std::string PGPText;  // the text for PGP: the body, repaired when the window is incoming
    std::string Switch;   // may be empty
    bool Inward = false;  // incoming path: no write-back, a key in PGP's output is imported
    bool AskListEncryption = false;  // the user must confirm encrypting a posting

    bool operator==(const TOperationDecision&) const = default;
};

// The user's options as the run reads them from the properties window.
struct TDecisionOptions {
    bool RoutineRun = true;                           // Routine page's Run or the tray icon
    std::span<const std::string> MailingListAddresses;  // lstMailingListAddress
    std::int32_t RoutineOption = optNone;             // optProcessing
    std::int32_t SpecialOption = optNone;             // optOutward
    bool PreferKeyImport = false;                     // chkForceKeyRead
};

// Index 0, 1, 2 give "-AutoEncrypt", "-AutoSign", "-AutoEncryptSign"; any other index leaves
// the switch as it was.
void OutwardSwitch(std::int32_t index, std::string& switchText);

// True when a blank-, comma- or semicolon-separated token of To and Cc equals one of the
// addresses, ignoring the case of A to Z. Nothing else is normalised.
bool ListRecipientFound(std::string_view to, std::string_view cc, std::span<const std::string> addresses);

// Uses the record's Wtype, Body, To and Cc (Bcc is never examined). Sets tracePoint to 5507,
// 5508 and 5509 as it passes those steps. A refusal carries the text only. A caller that has no
// more use for the record moves it in: an outgoing body then becomes PGPText without a copy.
TOperationDecision DecideOperation(TMFDData mail, const TDecisionOptions& options, std::int32_t& tracePoint);

}  // namespace v5
