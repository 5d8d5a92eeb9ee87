#include "StandardStreams.h"

#include <windows.h>

// Files are opened as handles, never by reusing a standard stream's number,
// and a full disk is an error, not a signal: only say whether there is an
// output to write to.
bool StandardStreams::guard()
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE;
}
