#pragma once
// The top-level windows of one process, as the adapter tests and the whole-program scenarios
// look for them.
#include <windows.h>

#include <string>
#include <vector>

namespace v5::wintest {

struct TopWindowQuery {
    DWORD processId;
    std::string className;  // any class when empty
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<TopWindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != query->processId) return TRUE;
    char cls[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (query->className.empty() || query->className == cls) query->found.push_back(hwnd);
    return TRUE;
}

// In the order Windows gives them (any class when empty).
inline std::vector<HWND> TopWindowsOf(DWORD processId, const std::string& className = {}) {
    TopWindowQuery query{processId, className, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The first visible one with the class, or null.
inline HWND VisibleWindowOf(DWORD processId, const std::string& className) {
    for (HWND w : TopWindowsOf(processId, className))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace v5::wintest
