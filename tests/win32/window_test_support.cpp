#include "window_test_support.h"

#include <cstdio>

#include "drivers/Indicont.h"
#include "drivers/win32/indicator_window.h"
#include "platform/win32/toolkit/clipboard.h"

namespace v5::wintest {

std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char unique[MAX_PATH] = {};
    GetTempFileNameA(temp, "v5d", 0, unique);
    DeleteFileA(unique);
    CreateDirectoryA(unique, nullptr);
    return std::string(unique) + "\\";
}

std::string ExeDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

bool SetClipboardText(const std::string& text) {
    return win32::WriteClipboardText(text) == win32::ClipboardWrite::Written;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

StartedProgram::StartedProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        program_ = win32::OwnedProcess(info);
}

StartedProgram::~StartedProgram() {
    if (program_ && WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(program_.process.get(), 0);
        WaitForSingleObject(program_.process.get(), 10000);
    }
}

HWND StartedProgram::waitForWindow(const std::string& className) {
    HWND window = nullptr;
    WaitFor([&] {
        for (HWND w : TopWindowsOf(id(), className))
            if (IsWindowVisible(w)) {
                window = w;
                return true;
            }
        return false;
    });
    return window;
}

struct ConfirmationAnswerer::State {
    bool answerYes = true;
    bool clickBar = false;
    bool pressEscape = false;
    bool barClicked = false;
    int answered = 0;
    SeenConfirmation seen;
    UINT_PTR timer = 0;
};

namespace {

ConfirmationAnswerer::State* gAnswerer = nullptr;

std::string TextOf(HWND hwnd) {
    char buffer[256] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

RECT RectInClient(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> Visible(const std::vector<HWND>& windows) {
    std::vector<HWND> visible;
    for (HWND w : windows)
        if (IsWindowVisible(w)) visible.push_back(w);
    return visible;
}

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
    ConfirmationAnswerer::State* state = gAnswerer;
    if (!state) return;
    const DWORD self = GetCurrentProcessId();
    const std::vector<HWND> strips = Visible(TopWindowsOf(self, kIndicatorControlClassName));
    if (strips.empty()) return;
    HWND strip = strips.front();
    const std::vector<HWND> bars = Visible(TopWindowsOf(self, kIndicatorClassName));
    if (state->clickBar && !state->barClicked) {
        state->seen.bars.clear();
        for (HWND bar : bars) {
            RECT r{};
            GetWindowRect(bar, &r);
            state->seen.bars.push_back(r);
        }
        if (!bars.empty()) {
            // A real click: the bar is asked to handle the left button going down.
            SendMessageA(bars.front(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            state->barClicked = true;
        }
        return;
    }
    SeenConfirmation& seen = state->seen;
    seen.seen = true;
    GetWindowRect(strip, &seen.strip);
    if (!state->clickBar) {
        for (HWND bar : bars) {
            RECT r{};
            GetWindowRect(bar, &r);
            seen.bars.push_back(r);
        }
    } else {
        seen.barsAfterClick = static_cast<int>(bars.size());
    }
    HWND label = GetDlgItem(strip, win32::kIndicatorLabelId);
    HWND yes = GetDlgItem(strip, win32::kIndicatorYesId);
    HWND no = GetDlgItem(strip, win32::kIndicatorNoId);
    seen.question = TextOf(label);
    seen.yesCaption = TextOf(yes);
    seen.noCaption = TextOf(no);
    seen.yes = RectInClient(strip, yes);
    seen.no = RectInClient(strip, no);
    ++state->answered;
    KillTimer(nullptr, state->timer);
    state->timer = 0;
    if (state->pressEscape)
        PostMessageA(GetFocus() ? GetFocus() : yes, WM_KEYDOWN, VK_ESCAPE, 0);
    else
        SendMessageA(state->answerYes ? yes : no, BM_CLICK, 0, 0);
}

}  // namespace

ConfirmationAnswerer::ConfirmationAnswerer(bool answerYes, bool clickBar, bool pressEscape) : state_(new State) {
    state_->pressEscape = pressEscape;
    state_->answerYes = answerYes;
    state_->clickBar = clickBar;
    state_->timer = SetTimer(nullptr, 0, 50, AnswerTick);
    gAnswerer = state_;
}

ConfirmationAnswerer::~ConfirmationAnswerer() {
    if (state_->timer) KillTimer(nullptr, state_->timer);
    if (gAnswerer == state_) gAnswerer = nullptr;
    delete state_;
}

const SeenConfirmation& ConfirmationAnswerer::seen() const { return state_->seen; }
int ConfirmationAnswerer::answered() const { return state_->answered; }

}  // namespace v5::wintest
