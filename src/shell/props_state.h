#pragma once
// The live settings and lists of the properties window. The controls show this state; loading
// and saving the settings fill and read it; the handlers change it.
#include <cstdint>
#include <string>
#include <vector>

namespace v5 {

struct PropsState {
    // Item indexes of the two outward radio groups: -1 (none) or 0 "&Encrypt", 1 "S&ign",
    // 2 "Encrypt &and Sign".
    std::int32_t optProcessing = 0;
    std::int32_t optOutward = 0;
    bool chkIgnoreWrappedKeys = false;
    bool chkForceKeyRead = false;
    bool chkShowTips = false;
    std::int32_t RecentPage = 2;
    std::int32_t TipNumber = 0;
    bool TipEnabled = true;

    // The address editor.
    std::string txtMailingListAddress;
    std::vector<std::string> lstMailingListAddress;
    int mailingListItemIndex = -1;  // selected address, -1 for none

    // The driver lists: visible text, 200 blanks, driver script file name.
    std::vector<std::string> lstLibrary;
    int libraryItemIndex = -1;
    std::vector<std::string> lstActive;
    int activeItemIndex = -1;

    std::string PgpMainExe;
    bool btnToolsVisible = false;
};

}  // namespace v5
