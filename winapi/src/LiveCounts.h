#pragma once

#include <atomic>

// How many COM objects, BSTRs and SAFEARRAYs are alive, for the seam's
// leak checks. Atomic because objects may die on any thread.
class LiveCounts
{
public:
    static std::atomic<long> interfaces;
    static std::atomic<long> bstrs;
    static std::atomic<long> safeArrays;
};
