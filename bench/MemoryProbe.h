#pragma once

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

// Heap in use (glibc's mallinfo2: small blocks plus mmapped ones) and the
// resident set size (/proc/self/statm), in bytes.
inline double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

inline double residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}
