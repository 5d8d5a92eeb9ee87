#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

// What the fuzz targets share with their libFuzzer programs (clang build)
// and the corpus replay test (every build).

// A broken invariant: thrown out of the target. libFuzzer aborts on it and
// saves the input as a finding; the replay test reports its text.
#define FUZZ_CHECK(condition, message) \
    do { \
        if (!(condition)) \
            throw std::logic_error(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " + \
                                   (message)); \
    } while (false)

// Splits the fuzzer's bytes into choices. libFuzzer's FuzzedDataProvider
// comes only with clang, and the replay runs in the g++ build. Reading past
// the end yields zeros and empty texts, so every input is a valid script.
struct FuzzInput
{
    // A number in [0, bound).
    int pick(int bound) { return pos < size && bound > 0 ? data[pos++] % bound : 0; }
    bool flag() { return pick(2) == 1; }
    // A length byte, then at most `maxLength` bytes.
    std::string text(size_t maxLength = 64)
    {
        const size_t length = std::min({size_t(pick(256)), maxLength, size - pos});
        pos += length;
        return std::string(reinterpret_cast<const char *>(data + pos - length), length);
    }

    const uint8_t *data;
    size_t size;
    size_t pos = 0;
};

// The targets: any bytes in, 0 out. A WQL text through the plug-in's WMI
// client; stored values, host set-up and user choices on the Device page,
// then a save.
int fuzzWql(const uint8_t *data, size_t size);
int fuzzSettings(const uint8_t *data, size_t size);
