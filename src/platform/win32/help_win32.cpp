#include "platform/win32/help_win32.h"

#include <htmlhelp.h>

namespace v5::win32 {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace

void Win32Help::showTopic(const std::string& helpFile, int topic) {
    const std::string path = helpFile.find('\\') == std::string::npos ? installDir_ + helpFile : helpFile;
    lastViewer_ = nullptr;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        WinHelpA(owner_, path.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(topic));
        return;
    }
    // The HTML help viewer lives in a library of the system, loaded the first time it is needed.
    if (!htmlHelp_) htmlHelp_.reset(LoadLibraryA("hhctrl.ocx"));
    if (!htmlHelp_) return;
    auto htmlHelp =
        reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(htmlHelp_.get(), "HtmlHelpA")));
    if (!htmlHelp) return;
    const std::string compiled = installDir_ + kHtmlHelpFileName;
    lastViewer_ = htmlHelp(owner_, compiled.c_str(), HH_HELP_CONTEXT, static_cast<DWORD_PTR>(topic));
}

}  // namespace v5::win32
