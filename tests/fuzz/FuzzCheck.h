#pragma once

#include <functional>
#include <string>

// How a fuzz target reports a broken invariant. Under libFuzzer the default
// handler prints the message and aborts, so the input is saved as a
// finding; the seed replay test installs a handler that records it.
namespace fuzzcheck {

using Handler = std::function<void(const std::string &message)>;

// Installs `handler` (an empty one restores the aborting default).
void setHandler(Handler handler);
void fail(const std::string &message);

} // namespace fuzzcheck

#define FUZZ_CHECK(condition, message) \
    do { \
        if (!(condition)) \
            fuzzcheck::fail(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " + \
                            (message)); \
    } while (false)
