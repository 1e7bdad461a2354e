#pragma once
// The live settings and lists of the properties window. The controls show this state; loading
// and saving the settings fill and read it; the handlers change it. Each field's initial value is
// the setting's default.
#include <cstdint>
#include <string>
#include <vector>

namespace v5 {

// What a radio group makes of an item index given to it: above the last item selects the last,
// -1 or less selects none (-1).
inline std::int32_t RadioItemIndex(std::int32_t index, std::int32_t itemCount) {
    if (index < -1) return -1;
    return index >= itemCount ? itemCount - 1 : index;
}

struct PropsState {
    // Item indexes of the two outward radio groups: -1 (none) or 0 "&Encrypt", 1 "S&ign",
    // 2 "Encrypt &and Sign". Loaded through RadioItemIndex, so never outside -1..2.
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
    // The lines of "ActiveMailers.dat" read at start-up: the catalogue items equal to one of them
    // (letter case ignored) go to the Active list.
    std::vector<std::string> activeMailersLines;
    // The catalogue could not be read at start-up: the lists are empty, and saving leaves
    // "ActiveMailers.dat" as it is rather than empty it.
    bool catalogueUnreadable = false;

    std::string PgpMainExe;
    bool btnToolsVisible = false;
    // The hidden box through which a run's result comes back, as its last change left it.
    std::string txtClipboardReceiver;
};

// A field of the state that a control shows or a setting stores: a flag, a whole number (a radio
// group's selected item among them), a text, or a list's entries and selected entry.
struct StateField {
    bool PropsState::*flag = nullptr;
    std::int32_t PropsState::*number = nullptr;
    std::string PropsState::*text = nullptr;
    std::vector<std::string> PropsState::*entries = nullptr;
    int PropsState::*selected = nullptr;
};

}  // namespace v5
