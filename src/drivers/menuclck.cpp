#include "drivers/menuclck.h"

#include "base/diagnostics.h"

namespace v5 {

std::intptr_t TDataModule19::FindMenuEntry(std::intptr_t menu, const std::string& name) {
    const MenuHandle handle = static_cast<MenuHandle>(menu);
    const int count = desktop_.menuItemCount(handle);
    for (int i = 0; i < count; ++i) {
        std::string text = desktop_.menuItemText(handle, i);
        if (text.size() > kMaxMenuTextChars) text.resize(kMaxMenuTextChars);
        if (text.find(name) == std::string::npos) continue;
        LastMenuPosition = i;
        const MenuHandle sub = desktop_.subMenu(handle, i);
        return sub != 0 ? static_cast<std::intptr_t>(sub) : kPlainMenuEntry;
    }
    return 0;
}

std::string TDataModule19::ClickMenuItem(WindowHandle window, const std::string& menuName,
                                         const std::string& itemName, const std::string& subItemName) {
    std::string failure;
    // Set only when the last lookup found a plain command entry of `current`: the one entry
    // whose identifier GetMenuItemID(current, LastMenuPosition) really gives.
    bool commandFound = false;
    const std::intptr_t menu = static_cast<std::intptr_t>(desktop_.menuOf(window));
    log_.WriteDebugLog("mc1 " + std::to_string(menu));

    std::intptr_t current = FindMenuEntry(menu, menuName);
    log_.WriteDebugLog("mc2 " + std::to_string(current));
    if (current == 0) {
        failure = menuName;
        current = menu;
    }

    if (current != 0 && !itemName.empty()) {
        std::intptr_t found = FindMenuEntry(current, itemName);
        log_.WriteDebugLog("mc3 " + std::to_string(found));
        if (found == kPlainMenuEntry) {
            commandFound = true;
        } else if (found != 0) {
            current = found;
            if (!subItemName.empty()) {
                found = FindMenuEntry(current, subItemName);
                log_.WriteDebugLog("mc4 " + std::to_string(found));
                if (found == 0) failure = subItemName;
                commandFound = found == kPlainMenuEntry;
            }
        }
        if (failure.empty() && found == 0) failure = itemName;
    }

    log_.WriteDebugLog("mp " + std::to_string(LastMenuPosition));
    const std::uint32_t id = desktop_.menuItemId(static_cast<MenuHandle>(current), LastMenuPosition);
    log_.WriteDebugLog("mc5 " + std::to_string(static_cast<std::int32_t>(id)));

    // An entry that opens a submenu has no command, and a position found in an outer menu
    // names an unrelated entry of the inner one: nothing is clicked then, and the deepest name
    // given is reported.
    if (failure.empty() && !commandFound)
        failure = !subItemName.empty() ? subItemName : !itemName.empty() ? itemName : menuName;
    if (failure.empty()) desktop_.sendCommand(window, id);
    return failure;
}

}  // namespace v5
