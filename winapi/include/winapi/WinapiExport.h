#pragma once

// The stand-in hides everything by default; only the Win32-named entry
// points and the test seam are visible to its users.
#define WINAPI_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
#define WINAPI_EXTERN_C extern "C"
#else
#define WINAPI_EXTERN_C extern
#endif
