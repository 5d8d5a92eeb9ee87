#include "LiveCounts.h"

std::atomic<long> LiveCounts::interfaces{0};
std::atomic<long> LiveCounts::bstrs{0};
std::atomic<long> LiveCounts::safeArrays{0};
