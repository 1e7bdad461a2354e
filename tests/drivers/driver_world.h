#pragma once
// A fake desktop with everything the window search, the menu driving and the built-in driver
// need around it, and the driver directory in a fresh folder.
#include <string>
#include <vector>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "drivers/builtin_driver.h"
#include "drivers/menuclck.h"
#include "drivers/winop.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_shell.h"

namespace v5::testing {

struct DriverWorld : DiagnosticsFixture {
    fakes::FakeDesktop desktop;
    fakes::FakeClipboard clipboard;
    fakes::FakeSleeper sleeper;
    fakes::FakeConfirmation confirmation;
    TDataModule18 search{desktop, boxes};
    TDataModule19 menus{desktop, diagnostics};
    BuiltInDriver driver{{state, diagnostics, desktop, clipboard, sleeper, boxes, confirmation, menus}};

    DriverWorld() { state.DriverDir = dir.path() + "drivers"; }

    // The driver package's class lists are named DriverDir + "\" + name, as the program joins them.
    void writeClassList(const std::string& name, const std::string& text) {
        WriteFileStringOrThrow(state.DriverDir + "\\" + name, text);
    }

    // The log's messages, without date and time.
    std::vector<std::string> logMessages() const {
        std::vector<std::string> messages;
        const std::string text = log();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(start, end - start);
            const std::size_t colon = line.find(": ");
            messages.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
            start = end + 2;
        }
        return messages;
    }

    int tooManyWindowsBoxes() const {
        int count = 0;
        for (const auto& box : boxes.shown)
            if (box.text == kTooManyWindowsText && box.caption == kErrorBoxCaption) ++count;
        return count;
    }
};

inline fakes::WindowSpec Win(std::string title, std::string className, ScreenRect rect = {},
                             std::vector<fakes::WindowSpec> children = {}) {
    fakes::WindowSpec spec;
    spec.title = std::move(title);
    spec.className = std::move(className);
    spec.rect = rect;
    spec.children = std::move(children);
    return spec;
}

// A chain of `levels` windows below a top-level window, the deepest titled "deepest".
inline fakes::WindowSpec Chain(int levels, const std::string& topTitle = "Top") {
    fakes::WindowSpec deepest = Win("deepest", "Leaf");
    for (int level = levels - 1; level >= 1; --level)
        deepest = Win("level " + std::to_string(level), "Box", {}, {deepest});
    return Win(topTitle, "TopClass", {}, levels > 0 ? std::vector<fakes::WindowSpec>{deepest}
                                                    : std::vector<fakes::WindowSpec>{});
}

}  // namespace v5::testing
