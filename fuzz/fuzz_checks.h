#pragma once
// What the tray programs' fuzz targets check of the texts they make.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    std::abort();
}

// CR LF pairs are the only control characters: nothing from a key or gpg adds a line or lays
// out what is shown around it.
inline bool onlyOwnLineBreaks(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        else if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

// How many lines of the text begin with the phrase.
inline int linesStarting(const std::string& s, std::string_view phrase) {
    int n = s.rfind(phrase, 0) == 0;
    for (std::size_t at = s.find("\r\n"); at != std::string::npos; at = s.find("\r\n", at + 2))
        n += s.compare(at + 2, phrase.size(), phrase) == 0;
    return n;
}

}  // namespace fuzzcheck
