#pragma once
// Text between UTF-8, UTF-16 and the system's code page (CP_ACP). Our own helper programs talk
// to windows, the clipboard and gpg in Unicode; the data file and Vostrel 5 stay in the code page.
#include <windows.h>

#include <string>
#include <string_view>

namespace v5::win32 {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromCodePage(std::string_view bytes);
// False when a character has no place in the code page: it is never replaced by "?" or by a
// look-alike ("best fit"), since the text would then be changed without anyone noticing.
bool CodePageFromWide(std::wstring_view wide, std::string& bytes);
// gpg's output read as UTF-8 where it is valid UTF-8 (a byte-order mark dropped), else in the
// code page (platform/text_charset.h).
std::wstring WideFromGpgOutput(std::string_view bytes);

}  // namespace v5::win32
