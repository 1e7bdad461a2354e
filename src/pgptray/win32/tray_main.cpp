// PGPTray.Exe: the hidden window that answers the clipboard commands, and the tray icon.
// "/recipient=FINGERPRINT" (repeatable) makes encryption use those keys without asking.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/request_note.h"
#include "pgptray/tray_commands.h"
#include "pgptray/win32/tray_app.h"
#include "platform/win32/toolkit/handles.h"
#include "platform/win32/toolkit/window_class.h"

namespace {

using pgptray::TrayApp;
using pgptray::TrayCommand;

constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kFinishCommand = WM_APP + 2;
constexpr UINT kMenuExit = 40099;
constexpr UINT kMenuKeys = 40001;
// The structure size of the first shell versions, which every shell accepts.
constexpr DWORD kNotifyIconSize = sizeof(void*) == 4 ? 88 : 152;

TrayApp* app = nullptr;

void showTrayMenu(HWND hwnd) {
    const v5::win32::OwnedMenu owned(CreatePopupMenu());
    HMENU menu = owned.get();
    AppendMenuA(menu, MF_STRING, 40017, "&Encrypt Clipboard");
    AppendMenuA(menu, MF_STRING, 40007, "Encrypt && Sign C&lipboard");
    AppendMenuA(menu, MF_STRING, 40018, "&Sign Clipboard");
    AppendMenuA(menu, MF_STRING, 40008, "&Decrypt/Verify Clipboard");
    AppendMenuA(menu, MF_STRING, 40006, "&Add Key from Clipboard");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMenuKeys, "Launch PGP&keys");
    AppendMenuA(menu, MF_STRING, 40019, "PGP&tools");
    AppendMenuA(menu, MF_STRING, 40012, "&Preferences");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMenuExit, "E&xit PGPtray");
    POINT p;
    GetCursorPos(&p);
    SetForegroundWindow(hwnd);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd, nullptr);
    PostMessageA(hwnd, WM_NULL, 0, 0);
}

LRESULT CALLBACK hiddenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND: {
            const UINT id = LOWORD(wp);
            if (id == kMenuExit) {
                // The loop ends, and WinMain's owner takes the window and its icon away.
                PostQuitMessage(0);
            } else if (id == kMenuKeys) {
                pgptray::StartSiblingProgram("PGPKeys.Exe");
            } else {
                app->command(pgptray::TrayCommandFor(id));
                PostMessageA(hwnd, kFinishCommand, 0, 0);
            }
            return 0;
        }
        case WM_COPYDATA: {
            // Vostrel 5's note for its next request; any other data is none of ours.
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (!data || data->dwData != v5::kRequestNoteTag || (data->cbData && !data->lpData)) return FALSE;
            const std::size_t size = std::min<std::size_t>(data->cbData, v5::kRequestNoteLimit);
            app->signUtf8 = v5::ParseRequestNote(std::string_view(static_cast<const char*>(data->lpData), size)).utf8;
            return TRUE;
        }
        case kFinishCommand:
            app->finishCommand();
            return 0;
        case kTrayCallback:
            if (lp == WM_RBUTTONUP || lp == WM_CONTEXTMENU) showTrayMenu(hwnd);
            if (lp == WM_LBUTTONDBLCLK) app->command(TrayCommand::Tools);
            return 0;
        case WM_DESTROY: {
            NOTIFYICONDATAA nid{};
            nid.cbSize = kNotifyIconSize;
            nid.hWnd = hwnd;
            nid.uID = 1;
            Shell_NotifyIconA(NIM_DELETE, &nid);
            PostQuitMessage(0);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> commandLineArguments() {
    std::vector<std::string> out;
    int argc = 0;
    const v5::win32::OwnedLocal<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    for (int i = 1; argv && i < argc; ++i) {
        char arg[512] = {};
        WideCharToMultiByte(CP_ACP, 0, argv.get()[i], -1, arg, sizeof arg - 1, nullptr, nullptr);
        out.push_back(arg);
    }
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // One tray program per session: a second start leaves the first alone.
    if (FindWindowA(pgptray::kHiddenWindowClass, nullptr)) return 0;
    pgptray::TrayProgram program;
    app = &program.app;
    const pgptray::PresetKeys preset = pgptray::PresetRecipients(commandLineArguments());
    program.app.presetRecipients = preset.fingerprints;
    program.app.refusedRecipients = preset.refused;

    v5::win32::RegisterClassOnce(instance, {.name = pgptray::kHiddenWindowClass,
                                            .proc = hiddenProc,
                                            .arrowCursor = false,
                                            .icon = MAKEINTRESOURCEA(1)});
    const v5::win32::OwnedWindow hidden(CreateWindowExA(WS_EX_TOOLWINDOW, pgptray::kHiddenWindowClass, "PGPtray",
                                                        WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
    if (!hidden) return 1;

    NOTIFYICONDATAA nid{};
    nid.cbSize = kNotifyIconSize;
    nid.hWnd = hidden.get();
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = kTrayCallback;
    nid.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    lstrcpynA(nid.szTip, "PGPtray (GnuPG)", sizeof nid.szTip);
    Shell_NotifyIconA(NIM_ADD, &nid);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
