#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Splits a fuzzer's byte string into typed choices. libFuzzer ships
// FuzzedDataProvider, but only with clang; the seed replay runs in the g++
// build, so the few readers needed here are written out. Reading past the
// end yields zeros and empty strings, so every input is a valid script.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }
    bool flag() { return (byte() & 1) != 0; }
    // A number in [0, bound), bound > 0.
    int pick(int bound) { return bound > 0 ? int(byte() % unsigned(bound)) : 0; }

    // A string of at most `maxLength` bytes: a length byte, then the bytes.
    std::string text(size_t maxLength = 64)
    {
        size_t length = byte();
        if (length > maxLength)
            length = maxLength;
        if (length > m_size - m_pos)
            length = m_size - m_pos;
        std::string out(reinterpret_cast<const char *>(m_data + m_pos), length);
        m_pos += length;
        return out;
    }

    // Everything not read yet.
    std::string rest()
    {
        std::string out(reinterpret_cast<const char *>(m_data + m_pos), m_size - m_pos);
        m_pos = m_size;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};
