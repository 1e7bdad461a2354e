// A stand-in mailer: one top-level window titled from its command line, an "&Edit" menu with
// Select All and Copy, and a large multi-line text window holding a message loaded from a file.
// Usage: standin_mailer.exe [/rich] [/load=<file>] <title words...>
//   /rich  the text window is a rich edit control instead of a plain edit control
#include <windows.h>
#include <richedit.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/toolkit/window_class.h"

namespace {

constexpr int kSelectAllId = 201;
constexpr int kCopyId = 202;
constexpr int kExitId = 101;

struct MailerState {
    HWND frame = nullptr;
    HWND text = nullptr;
    bool rich = false;
    std::string title;
    std::string message;
};

MailerState gState;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kSelectAllId: SendMessageA(gState.text, EM_SETSEL, 0, -1); return 0;
                case kCopyId: SendMessageA(gState.text, WM_COPY, 0, 0); return 0;
                case kExitId: SendMessageA(hwnd, WM_CLOSE, 0, 0); return 0;
            }
            break;
        case WM_SIZE:
            if (gState.text) MoveWindow(gState.text, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kExitId, "E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, kSelectAllId, "Select &All\tCtrl+A");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, kCopyId, "&Copy\tCtrl+C");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    return bar;
}

void ParseArguments() {
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg == "/rich") {
            gState.rich = true;
        } else if (arg.rfind("/load=", 0) == 0) {
            std::ifstream in(arg.substr(6), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            gState.message = content.str();
        } else {
            if (!gState.title.empty()) gState.title += ' ';
            gState.title += arg;
        }
    }
    if (gState.title.empty()) gState.title = "Stand-in Mailer";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    ParseArguments();
    v5::win32::RegisterClassOnce(instance, {.name = "StandInMailer", .proc = FrameProc, .background = COLOR_WINDOW});

    gState.frame = CreateWindowExA(0, "StandInMailer", gState.title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 700, 500,
                                   nullptr, BuildMenu(), instance, nullptr);
    const char* textClass = "EDIT";
    if (gState.rich && LoadLibraryA("riched20.dll")) textClass = RICHEDIT_CLASSA;
    RECT client{};
    GetClientRect(gState.frame, &client);
    gState.text = CreateWindowExA(WS_EX_CLIENTEDGE, textClass, "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0,
                                  0, client.right, client.bottom, gState.frame, nullptr, instance, nullptr);
    if (gState.rich)
        SendMessageA(gState.text, EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    else
        SendMessageA(gState.text, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(gState.text, gState.message.c_str());

    ShowWindow(gState.frame, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(gState.frame);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
