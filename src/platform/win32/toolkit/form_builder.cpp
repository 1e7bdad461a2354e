#include "platform/win32/toolkit/form_builder.h"

#include <commctrl.h>

#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {
namespace {

constexpr const char* kProgramFontName = "MS Sans Serif";
constexpr int kProgramFontPoints = 8;
constexpr int kLargePixels = 13;
constexpr int kHeadingPixels = 16;

// The window class and styles that stand for a kind of control with its flags.
struct ControlClassAndStyles {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

DWORD If(unsigned flags, unsigned flag, DWORD style) { return (flags & flag) ? style : 0; }

ControlClassAndStyles ClassAndStylesFor(const ControlSpec& c) {
    const DWORD tab = WS_TABSTOP;
    const unsigned f = c.flags;
    switch (c.kind) {
        case ControlKind::PageControl: return {WC_TABCONTROLA, tab, 0};
        case ControlKind::Button: return {"BUTTON", ((f & cfDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab, 0};
        case ControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::RadioButton: return {"BUTTON", BS_AUTORADIOBUTTON | If(f, cfGroupStart, WS_GROUP | tab), 0};
        case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | tab, 0};
        case ControlKind::Edit:
            return {"EDIT", ES_AUTOHSCROLL | tab | If(f, cfPassword, ES_PASSWORD) | ((f & cfSunken) ? 0 : WS_BORDER),
                    If(f, cfSunken, WS_EX_CLIENTEDGE)};
        case ControlKind::Memo:
            return {"EDIT",
                    ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | tab | If(f, cfReadOnly, ES_READONLY) |
                        If(f, cfCentred, ES_CENTER),
                    WS_EX_CLIENTEDGE};
        case ControlKind::ListBox:
            return {"LISTBOX",
                    LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab |
                        If(f, cfMultiSelect, LBS_MULTIPLESEL) | If(f, cfColumns, LBS_USETABSTOPS),
                    WS_EX_CLIENTEDGE};
        case ControlKind::ComboBox: return {"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tab, 0};
        case ControlKind::Label:
        case ControlKind::Text:
        case ControlKind::VersionLabel:
            return {"STATIC", ((f & cfCentred) ? SS_CENTER : SS_LEFT) | If(f, cfNoPrefix, SS_NOPREFIX),
                    If(f, cfSunken, WS_EX_CLIENTEDGE)};
        case ControlKind::Notice: return {"STATIC", SS_CENTER | SS_NOTIFY, WS_EX_STATICEDGE};
        case ControlKind::Heading: return {"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case ControlKind::Image: return {"STATIC", SS_ICON, 0};
    }
    return {"STATIC", 0, 0};
}

HFONT FontFor(const ControlSpec& c, FormFont font) {
    if (font == FormFont::System) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (c.kind == ControlKind::Heading) return ProgramFont(FontRole::Heading);
    if (c.kind == ControlKind::Notice || (c.flags & cfLargeText)) return ProgramFont(FontRole::Large);
    return ProgramFont(FontRole::Normal);
}

// A frame draws only its line and caption; its inside is filled here, beneath the controls it holds.
WNDPROC gButtonProc = nullptr;
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    if (message == WM_PAINT) InvalidateRect(hwnd, nullptr, TRUE);
    return CallWindowProcA(gButtonProc, hwnd, message, wParam, lParam);
}

void PutBeneath(HWND control) {
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

HFONT ProgramFont(FontRole role) {
    static OwnedFont fonts[3];
    OwnedFont& font = fonts[static_cast<int>(role)];
    if (font) return font.get();
    int height = -kLargePixels;
    if (role == FontRole::Heading) height = -kHeadingPixels;
    if (role == FontRole::Normal) {
        WindowDC screen(nullptr);
        height = -MulDiv(kProgramFontPoints, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    }
    font.reset(CreateFontA(height, 0, 0, 0, role == FontRole::Heading ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, kProgramFontName));
    return font.get();
}

FormBuilder::FormBuilder(HWND parent, FormLook look)
    : parent_(parent), look_(look), instance_(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE))) {}

FormBuilder::~FormBuilder() {
    for (HWND frame : frames_) PutBeneath(frame);
    if (tabs_) PutBeneath(tabs_);
}

HWND FormBuilder::add(const ControlSpec& c) {
    const ControlClassAndStyles made = ClassAndStylesFor(c);
    // WS_CLIPSIBLINGS: a control never paints over one that lies on it (the tabs, frames, notices).
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (look_.startHidden ? 0 : WS_VISIBLE) | made.style;
    HWND hwnd = CreateWindowExA(made.exStyle, made.className, c.caption, style, c.x, c.y, c.width, c.height, parent_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    if (!hwnd) return nullptr;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c, look_.font)), FALSE);
    if (c.kind == ControlKind::Image && c.caption[0])
        SendMessageA(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(instance_, c.caption)), 0);
    if (c.kind == ControlKind::ListBox && c.itemHeight > 0) SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, c.itemHeight);
    if (c.kind == ControlKind::PageControl) tabs_ = hwnd;
    if (c.kind == ControlKind::GroupBox) {
        frames_.push_back(hwnd);
        gButtonProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    }
    if (c.hint[0]) {
        if (!tooltips_)
            tooltips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr, instance_,
                                        nullptr);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent_;
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        tool.lpszText = const_cast<char*>(c.hint);
        if (tooltips_) SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return hwnd;
}

std::string ControlText(HWND control) {
    int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    length = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

void SetControlText(HWND control, const std::string& text) {
    if (ControlText(control) != text) SetWindowTextA(control, text.c_str());
}

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
    if (IsChecked(button) != checked) SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace v5::win32
