// The libFuzzer program of one target, chosen at compile time
// (UIS_FUZZ_TARGET=fuzzWql|fuzzSettings).
#include "FuzzHarness.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The page's widgets need a GUI application (tests/fuzz/run picks the
    // offscreen platform). It lives for the process: libFuzzer never returns.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return UIS_FUZZ_TARGET(data, size);
}
