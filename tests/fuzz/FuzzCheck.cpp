#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

namespace {
Handler &handler()
{
    static Handler current;
    return current;
}
} // namespace

void setHandler(Handler h) { handler() = std::move(h); }

void fail(const std::string &message)
{
    if (handler()) {
        handler()(message);
        return;
    }
    std::fprintf(stderr, "fuzz invariant broken: %s\n", message.c_str());
    std::abort();
}

} // namespace fuzzcheck
