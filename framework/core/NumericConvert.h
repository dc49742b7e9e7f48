// Conversions of values that come from outside (files, documents, the user) to integers. A
// plain conversion of a double beyond the target's range, or of a NaN, is undefined; these
// clamp to the range instead and give 0 for a NaN.
#pragma once

#include <cstdint>
#include <limits>

// Truncates towards zero as a plain conversion does.
inline int ClampToInt(double value)
{
    if (!(value == value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

inline std::int64_t ClampToInt64(double value)
{
    if (!(value == value))
        return 0;
    // 2^63 is exactly representable; every double below it converts.
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(value);
}
