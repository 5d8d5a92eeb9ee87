#include "wmi/ScopedVariant.h"

ScopedVariant::ScopedVariant() { VariantInit(&value); }

ScopedVariant::~ScopedVariant() { VariantClear(&value); }

void ScopedVariant::clear()
{
    VariantClear(&value);
    VariantInit(&value);
}
