// The libFuzzer program of one target, chosen at compile time
// (UIS_FUZZ_TARGET=fuzzWql|fuzzSettings|fuzzStore).
#include "FuzzHarness.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return UIS_FUZZ_TARGET(data, size);
}
