#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

// The leading decimal number of a stored text, read the way C's atoi reads
// it (leading blanks, an optional sign, digits; 0 when there is none).
// atoi itself is undefined for numbers beyond int, and stores hold whatever
// someone put there, so out-of-range numbers are clamped instead.
inline int leadingNumber(const std::string &text)
{
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX || (errno == ERANGE && value > 0))
        return INT_MAX;
    if (value < INT_MIN || (errno == ERANGE && value < 0))
        return INT_MIN;
    return static_cast<int>(value);
}
