#include "FuzzHarness.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {
std::function<void(const std::string &)> &handler()
{
    static std::function<void(const std::string &)> current;
    return current;
}
} // namespace

void setHandler(std::function<void(const std::string &)> h) { handler() = std::move(h); }

void fail(const std::string &message)
{
    if (handler())
        return handler()(message);
    std::fprintf(stderr, "fuzz invariant broken: %s\n", message.c_str());
    std::abort();
}

void initialize(int *argc, char ***argv)
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives for the process: libFuzzer never returns to main's caller.
    new QApplication(*argc, *argv);
}

} // namespace fuzz
