#include "platform/win32/toolkit/unicode.h"

#include <climits>

#include "platform/text_charset.h"

namespace v5::win32 {
namespace {

std::wstring toWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), n);
    return wide;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) { return toWide(CP_UTF8, utf8); }

std::wstring WideFromCodePage(std::string_view bytes) { return toWide(CP_ACP, bytes); }

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX / 3) return {};
    const int length = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

bool CodePageFromWide(std::wstring_view wide, std::string& bytes) {
    bytes.clear();
    if (wide.empty()) return true;
    if (wide.size() > INT_MAX / 2) return false;
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr,
                                      &usedDefault);
    if (n <= 0 || usedDefault) return false;
    bytes.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), n, nullptr, &usedDefault);
    if (!usedDefault) return true;
    bytes.clear();
    return false;
}

std::wstring WideFromGpgOutput(std::string_view bytes) {
    const TextBytesDecision d = DecideTextBytes(bytes);
    return d.kind == TextBytes::CodePage ? WideFromCodePage(bytes) : WideFromUtf8(bytes.substr(d.skip));
}

}  // namespace v5::win32
