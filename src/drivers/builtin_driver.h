#pragma once
// The text window pick and the built-in mail form driver: reads and writes the text of the
// largest listed text window on the desktop, after the user has confirmed it on screen.
#include <cstdint>
#include <string>

#include "drivers/Indicont.h"
#include "drivers/menuclck.h"
#include "platform/desktop.h"
#include "platform/ports.h"

namespace v5 {

class Diagnostics;
struct ShellState;

inline constexpr const char* kGetSetClassListName = "GetSet.AC";
inline constexpr const char* kSelAllClassListName = "SelAll.AC";
inline constexpr const char* kEditMenuName = "&Edit";
inline constexpr const char* kSelectAllItemName = "Select &All";
inline constexpr const char* kCopyItemName = "&Copy";
inline constexpr const char* kNoWindowShort = ">None<";
inline constexpr std::uint32_t kPasswordStyleBit = 0x20;
inline constexpr std::int32_t kMinPickSide = 150;  // a picked window is wider and higher than this
inline constexpr unsigned kMenuCommandPauseMs = 100;

enum TTextWindowKind { wkNone = 0, wkSelectAll = 1, wkGetSet = 2 };

struct TTextWindowPick {
    WindowHandle Window = 0;
    TTextWindowKind Kind = wkNone;
    bool Confirmed = false;
};

// A class is listed when its name followed by CR LF occurs in the list's text.
bool ClassListed(const std::string& listText, const std::string& className);
TTextWindowKind ClassifyClassName(const std::string& className, const std::string& selAllText,
                                  const std::string& getSetText);

struct BuiltInDriverPorts {
    const ShellState& state;  // DriverDir
    Diagnostics& diagnostics;
    Desktop& desktop;
    Clipboard& clipboard;
    Sleeper& sleeper;
    MessageBoxes& boxes;
    WindowConfirmation& confirmation;
    TDataModule19& menus;
};

class BuiltInDriver {
public:
    explicit BuiltInDriver(BuiltInDriverPorts ports);

    TTextWindowKind ClassifyTextWindow(WindowHandle window);
    TTextWindowPick PickTextWindow();
    std::string ReadTargetText();
    void WriteTargetText(const std::string& text);
    // Answers a driver command: "Data File=", "read File=" or "Write File=" followed by a path.
    void RunBuiltInDriver(const std::string& commandText);

    std::int32_t WindowWalkDepth = 0;

private:
    void ReadClassLists();
    void ExaminePickCandidate(WindowHandle window);
    bool MinimisedOrInMinimised(WindowHandle window);
    WindowHandle OutermostAncestor(WindowHandle window);

    BuiltInDriverPorts ports_;
    std::string getSetText_;
    std::string selAllText_;
    WindowHandle bestWindow_ = 0;
    std::int64_t bestArea_ = 0;
    TTextWindowKind bestKind_ = wkNone;
};

}  // namespace v5
