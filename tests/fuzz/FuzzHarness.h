#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// What the fuzz targets share with their libFuzzer programs (clang build)
// and the corpus replay test (every build).
namespace fuzz {

// A broken invariant: under libFuzzer the message is printed and the process
// aborts, so the input is saved as a finding; the replay test installs a
// handler that records it instead (an empty one restores the default).
void setHandler(std::function<void(const std::string &)> handler);
void fail(const std::string &message);

// One-time set-up before the first input (a QApplication for the widgets).
void initialize(int *argc, char ***argv);

// Splits the fuzzer's bytes into choices. libFuzzer's FuzzedDataProvider
// comes only with clang, and the replay runs in the g++ build. Reading past
// the end yields zeros and empty texts, so every input is a valid script.
class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool flag() { return (byte() & 1) != 0; }
    // A number in [0, bound).
    int pick(int bound) { return bound > 0 ? int(byte() % unsigned(bound)) : 0; }
    // A length byte, then at most `maxLength` bytes.
    std::string text(size_t maxLength = 64)
    {
        const size_t length = std::min({size_t(byte()), maxLength, m_size - m_pos});
        m_pos += length;
        return std::string(reinterpret_cast<const char *>(m_data + m_pos - length), length);
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace fuzz

#define FUZZ_CHECK(condition, message) \
    do { \
        if (!(condition)) \
            fuzz::fail(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " + (message)); \
    } while (false)

// The targets: each takes any bytes, returns 0 and reports through fuzz::fail.
// A WQL text through the plug-in's WMI client.
int fuzzWql(const uint8_t *data, size_t size);
// Stored values, host set-up and user choices on the Device page, then a save.
int fuzzSettings(const uint8_t *data, size_t size);
// A settings file's contents read by the studio's file store.
int fuzzStore(const uint8_t *data, size_t size);
