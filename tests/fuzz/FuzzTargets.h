#pragma once

#include <cstddef>
#include <cstdint>

// The fuzz targets, shared by the libFuzzer programs (clang build) and the
// seed replay test (every build). Each returns 0 and reports broken
// invariants through fuzzcheck::fail.

// Any byte string as a WQL query through IWbemServices::ExecQuery.
int fuzzWql(const uint8_t *data, size_t size);
// Arbitrary stored values and user choices on the Device page, then apply.
int fuzzSettings(const uint8_t *data, size_t size);
// Arbitrary file contents read by FileSettingsStore.
int fuzzStore(const uint8_t *data, size_t size);

// One-time set-up a target needs before its first input (a QApplication
// for the widgets); safe to call more than once.
void fuzzInitialize(int *argc, char ***argv);
