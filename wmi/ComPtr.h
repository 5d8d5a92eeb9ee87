#pragma once

#include "wmi/ComHandle.h"
#include "wmi/WmiPlatform.h"

template<class T>
struct ComRelease
{
    void operator()(T *object) const { object->Release(); }
};

// Owns one COM reference and releases it once.
template<class T>
using ComPtr = ComHandle<T, ComRelease<T>>;
