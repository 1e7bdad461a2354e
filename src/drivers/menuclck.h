#pragma once
// Menu commands: finds an entry in a window's menu bar by its text and sends the entry's command
// to the window, as a click on the entry would.
#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace v5 {

class Diagnostics;

// FindMenuEntry's answer for an entry that is a plain command.
inline constexpr std::intptr_t kPlainMenuEntry = -1;

class TDataModule19 {
public:
    TDataModule19(Desktop& desktop, Diagnostics& diagnostics) : desktop_(desktop), log_(diagnostics) {}

    // Sends the command of itemName (or of subItemName under it) in the menu menuName of the
    // window's menu bar. Returns empty on success, else the name that was not found, or the
    // deepest name given when that entry opens a submenu instead of being a command.
    std::string ClickMenuItem(WindowHandle window, const std::string& menuName, const std::string& itemName,
                              const std::string& subItemName);

    // The first entry whose text contains name (letter case and "&" count): its submenu,
    // kPlainMenuEntry for a plain command, 0 when no entry matches. A match sets LastMenuPosition.
    std::intptr_t FindMenuEntry(std::intptr_t menu, const std::string& name);

    std::int32_t LastMenuPosition = 0;

private:
    Desktop& desktop_;
    Diagnostics& log_;
};

}  // namespace v5
