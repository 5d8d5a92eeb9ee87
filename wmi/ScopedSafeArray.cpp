#include "wmi/ScopedSafeArray.h"

ScopedSafeArray::~ScopedSafeArray()
{
    if (array)
        SafeArrayDestroy(array);
}

SAFEARRAY **ScopedSafeArray::put()
{
    if (array) {
        SafeArrayDestroy(array);
        array = nullptr;
    }
    return &array;
}
