#pragma once

#include "ClassTable.h"

// Win32_Processor: one row per physical package, from /proc/cpuinfo; on
// x86 the name is CPUID's brand string and ProcessorId its signature.
class ProcessorProvider
{
public:
    static std::vector<std::wstring> columns();
    static std::vector<Values> rows();
    // "EDX then EAX of CPUID leaf 1" as 16 upper-case hex digits; empty
    // where there is no CPUID.
    static std::wstring processorId();
};
