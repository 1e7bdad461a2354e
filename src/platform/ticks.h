#pragma once
// A millisecond counter for measuring waits; it may wrap around, so callers take differences
// in unsigned arithmetic.
#include <cstdint>

namespace v5 {

class Ticks {
public:
    virtual ~Ticks() = default;
    virtual std::uint32_t milliseconds() = 0;
};

}  // namespace v5
