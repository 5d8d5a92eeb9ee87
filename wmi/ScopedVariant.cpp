#include "wmi/ScopedVariant.h"

ScopedVariant::ScopedVariant() { VariantInit(&value); }

ScopedVariant::~ScopedVariant() { VariantClear(&value); }

ScopedVariant::ScopedVariant(ScopedVariant &&other) noexcept
    : value(other.release())
{ }

ScopedVariant &ScopedVariant::operator=(ScopedVariant &&other) noexcept
{
    if (this != &other) {
        reset();
        value = other.release();
    }
    return *this;
}

VARIANT *ScopedVariant::put()
{
    reset();
    return &value;
}

VARIANT ScopedVariant::release()
{
    const VARIANT held = value;
    VariantInit(&value);
    return held;
}

void ScopedVariant::reset()
{
    VariantClear(&value);
    VariantInit(&value);
}
