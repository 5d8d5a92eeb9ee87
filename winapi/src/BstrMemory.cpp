#include "BstrMemory.h"

#include "LiveCounts.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

// Layout as on Windows: a 32-bit byte count right before the characters,
// and a terminating NUL after them.
namespace {

constexpr std::size_t kPrefix = sizeof(uint32_t);

} // namespace

BSTR BstrMemory::allocate(const OLECHAR *text, std::size_t length)
{
    if (length > (std::numeric_limits<uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1)
        return nullptr;
    const std::size_t bytes = length * sizeof(OLECHAR);
    auto *block = static_cast<char *>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const uint32_t prefix = static_cast<uint32_t>(bytes);
    std::memcpy(block, &prefix, kPrefix);
    auto *chars = reinterpret_cast<OLECHAR *>(block + kPrefix);
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    ++LiveCounts::bstrs;
    return chars;
}

void BstrMemory::release(BSTR text)
{
    if (!text)
        return;
    --LiveCounts::bstrs;
    std::free(reinterpret_cast<char *>(text) - kPrefix);
}

UINT BstrMemory::length(BSTR text)
{
    if (!text)
        return 0;
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char *>(text) - kPrefix, kPrefix);
    return prefix / sizeof(OLECHAR);
}
