// The libFuzzer program of one target, chosen at compile time
// (UIS_FUZZ_TARGET=fuzzWql|fuzzSettings).
#include "FuzzHarness.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The page's widgets need a GUI application; no display is needed. It
    // lives for the process: libFuzzer never returns to main's caller.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return UIS_FUZZ_TARGET(data, size);
}
