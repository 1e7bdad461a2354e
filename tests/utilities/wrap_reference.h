#pragma once
// The wrapping rule of one over-wide line written the plain way: every candidate measured from
// the start of its printed line, a too-wide word grown one character at a time. Quadratic, and
// so the yardstick for the printer's own, faster wrapping.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace v5::testing {

struct WrappedLine {
    std::string text;
    int gaps;
    bool operator==(const WrappedLine&) const = default;
};

inline std::vector<WrappedLine> ReferenceWrap(const std::string& s, std::int64_t width,
                                              const std::function<std::int64_t(const std::string&)>& measure) {
    std::vector<WrappedLine> out;
    const long n = static_cast<long>(s.size());
    auto copy = [&](long a, long b) {  // positions a..b from 1, clamped like a copy of a string
        if (a < 1) a = 1;
        if (b > n) b = n;
        return a > b ? std::string() : s.substr(a - 1, b - a + 1);
    };
    auto at = [&](long p) { return p >= 1 && p <= n ? s[p - 1] : '\0'; };
    long from = 1, pos = 1, lastBreak, words = 0;
    for (;;) {
        lastBreak = pos;
        ++pos;
        while (pos < n && at(pos) != ' ') ++pos;
        ++words;
        const std::string candidate = pos == n ? copy(from, pos) : copy(from, pos - 1);
        if (measure(candidate) < width) {
            if (pos >= n) {
                out.push_back({candidate, 0});
                return out;
            }
            continue;
        }
        if (words == 1) {
            do ++lastBreak;
            while (lastBreak <= n && measure(copy(from, lastBreak)) <= width);
        }
        out.push_back({copy(from, lastBreak - 1), static_cast<int>(words > 1 ? words - 2 : words)});
        words = 0;
        from = lastBreak;
        while (from < n && at(from) == ' ') ++from;
        pos = from;
        if (from > n || (from == n && at(from) == ' ')) return out;
        if (from == n) {
            out.push_back({copy(from, from), 0});
            return out;
        }
    }
}

}  // namespace v5::testing
