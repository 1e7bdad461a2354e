#include "drivers/builtin_driver.h"

#include "base/armour.h"
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/shell_state.h"
#include "drivers/mfd.h"
#include "drivers/winop.h"

namespace v5 {
namespace {

// Parent chains are short on any real desktop; this only guards against a chain that loops.
constexpr int kMaxAncestors = 4096;

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

bool ClassListed(const std::string& listText, const std::string& className) {
    // A window whose class cannot be read (it has gone) must not pass as listed merely
    // because every list holds a CR LF.
    if (className.empty()) return false;
    return listText.find(className + "\r\n") != std::string::npos;
}

TTextWindowKind ClassifyClassName(const std::string& className, const std::string& selAllText,
                                  const std::string& getSetText) {
    if (ClassListed(selAllText, className)) return wkSelectAll;
    if (ClassListed(getSetText, className)) return wkGetSet;
    return wkNone;
}

BuiltInDriver::BuiltInDriver(BuiltInDriverPorts ports) : ports_(ports) {}

TTextWindowKind BuiltInDriver::ClassifyTextWindow(WindowHandle window) {
    return ClassifyClassName(ports_.desktop.className(window), selAllText_, getSetText_);
}

void BuiltInDriver::ReadClassLists() {
    getSetText_ = ReadFileString(ports_.state.DriverDir + "\\" + kGetSetClassListName);
    selAllText_ = ReadFileString(ports_.state.DriverDir + "\\" + kSelAllClassListName);
}

bool BuiltInDriver::MinimisedOrInMinimised(WindowHandle window) {
    for (int i = 0; window != 0 && i < kMaxAncestors; ++i, window = ports_.desktop.parent(window))
        if (ports_.desktop.minimised(window)) return true;
    return false;
}

WindowHandle BuiltInDriver::OutermostAncestor(WindowHandle window) {
    for (int i = 0; i < kMaxAncestors; ++i) {
        const WindowHandle parent = ports_.desktop.parent(window);
        if (parent == 0) break;
        window = parent;
    }
    return window;
}

void BuiltInDriver::ExaminePickCandidate(WindowHandle window) {
    Desktop& desktop = ports_.desktop;
    // Only another program's window on the screen can be the mailer's: the program's own hidden
    // About text is an edit control larger than many mailers' text areas.
    if (desktop.ownProcess(window) || !desktop.visible(window)) return;
    if (desktop.style(window) & kPasswordStyleBit) return;
    const TTextWindowKind kind = ClassifyTextWindow(window);
    if (kind == wkNone) return;
    const ScreenRect r = desktop.rect(window);
    const std::int64_t width = std::int64_t{r.right} - r.left;
    const std::int64_t height = std::int64_t{r.bottom} - r.top;
    const std::int64_t area = width * height;
    if (area <= bestArea_ || width <= kMinPickSide || height <= kMinPickSide) return;
    if (MinimisedOrInMinimised(window)) return;
    bestWindow_ = window;
    bestArea_ = area;
    bestKind_ = kind;
}

TTextWindowPick BuiltInDriver::PickTextWindow() {
    WindowWalkDepth = 0;
    bestWindow_ = 0;
    bestArea_ = 0;
    bestKind_ = wkNone;
    TTextWindowPick pick;
    ReadClassLists();

    WindowWalk walk(ports_.desktop, WindowWalkDepth, [this] { ShowTooManyWindowsBox(ports_.boxes); });
    walk.run([this](WindowHandle window) { ExaminePickCandidate(window); }, {});
    if (bestWindow_ == 0) return pick;

    ports_.desktop.setForeground(bestWindow_);
    const ScreenRect r = ports_.desktop.rect(bestWindow_);
    const int answer = ports_.confirmation.confirm(PlaceIndicators(r));
    if (answer == kModalResultNo) bestWindow_ = 0;

    pick.Window = bestWindow_;
    pick.Kind = bestWindow_ != 0 ? bestKind_ : wkNone;
    pick.Confirmed = bestWindow_ != 0;
    return pick;
}

std::string BuiltInDriver::ReadTargetText() {
    const TTextWindowPick pick = PickTextWindow();
    if (!pick.Confirmed) return {};
    Desktop& desktop = ports_.desktop;
    switch (pick.Kind) {
        case wkSelectAll: {
            // The mailer's own Select All and Copy put the text on the clipboard; a lookup that
            // fails leaves whatever the clipboard held, as a person copying by hand would.
            const WindowHandle top = OutermostAncestor(pick.Window);
            ports_.menus.ClickMenuItem(top, kEditMenuName, kSelectAllItemName, "");
            ports_.sleeper.sleep(kMenuCommandPauseMs);
            ports_.menus.ClickMenuItem(top, kEditMenuName, kCopyItemName, "");
            ports_.sleeper.sleep(kMenuCommandPauseMs);
            return ports_.clipboard.text();
        }
        case wkGetSet: {
            const std::int64_t length = desktop.textLength(pick.Window);
            if (length <= 0) return {};
            std::string text = desktop.windowText(pick.Window, length);
            if (static_cast<std::int64_t>(text.size()) > length) text.resize(static_cast<std::size_t>(length));
            return text;
        }
        case wkNone: break;
    }
    return {};
}

void BuiltInDriver::WriteTargetText(const std::string& text) {
    const TTextWindowPick pick = PickTextWindow();
    if (pick.Confirmed && pick.Kind == wkGetSet) ports_.desktop.setWindowText(pick.Window, text);
}

void BuiltInDriver::RunBuiltInDriver(const std::string& commandText) {
    static constexpr std::string_view kFileKey = "file=";
    const std::string lower = AsciiLower(commandText);
    const std::size_t blank = lower.find(' ');
    const std::string verb = blank == std::string::npos ? std::string() : lower.substr(0, blank);
    // The path keeps the letter case it was given in: folding it would name another file
    // wherever the file system tells letter case apart.
    std::string path;
    const std::size_t key = lower.find(kFileKey);
    if (key != std::string::npos) path = commandText.substr(key + kFileKey.size());

    TMFDData record;
    ClearMFDData(record);
    record.Short = kNoWindowShort;

    if (verb == "data") {
        WriteMFDFile(record, path, ports_.diagnostics);
    } else if (verb == "read") {
        const std::string text = ReadTargetText();
        record.Wtype = ClassifyPGPText(text).AnyBlock ? wtInward : wtOutward;
        record.Body = text;
        record.HasBody = !text.empty();
        if (text.empty()) record.Wtype = 0;
        WriteMFDFile(record, path, ports_.diagnostics);
    } else if (verb == "write") {
        record = ReadMFDFile(path);
        if (record.HasBody) WriteTargetText(record.Body);
    }
}

}  // namespace v5
