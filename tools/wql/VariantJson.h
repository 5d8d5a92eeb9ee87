#pragma once

#include "wmi/WmiPlatform.h"

#include <QJsonValue>
#include <QString>

// How wql shows a property value.

// "VT_BSTR", "VT_ARRAY|VT_BSTR", ...; a type without a name shows as hex
// ("VT_0x48").
QString variantTypeName(VARTYPE type);

// The value as JSON: strings, numbers, booleans, arrays of them, null for
// VT_NULL, VT_EMPTY and types wql cannot show. 64-bit integers beyond what a
// double holds exactly become decimal strings.
QJsonValue variantJson(const VARIANT &value);

// {"type": ..., "value": ...} for one property.
QJsonValue typedVariantJson(const VARIANT &value);

// The value as one line of text for the plain output.
QString variantText(const VARIANT &value);
