#include "wql/VariantJson.h"

#include "wmi/BstrText.h"
#include "wmi/ScopedSafeArray.h"
#include "wmi/ScopedVariant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

const struct
{
    VARTYPE type;
    const char *name;
} kTypeNames[] = {
        {VT_EMPTY, "VT_EMPTY"},     {VT_NULL, "VT_NULL"},       {VT_I2, "VT_I2"},
        {VT_I4, "VT_I4"},           {VT_R4, "VT_R4"},           {VT_R8, "VT_R8"},
        {VT_BSTR, "VT_BSTR"},       {VT_ERROR, "VT_ERROR"},     {VT_BOOL, "VT_BOOL"},
        {VT_VARIANT, "VT_VARIANT"}, {VT_UNKNOWN, "VT_UNKNOWN"}, {VT_I1, "VT_I1"},
        {VT_UI1, "VT_UI1"},         {VT_UI2, "VT_UI2"},         {VT_UI4, "VT_UI4"},
        {VT_I8, "VT_I8"},           {VT_UI8, "VT_UI8"},         {VT_INT, "VT_INT"},
        {VT_UINT, "VT_UINT"},
};

// Integers a double (and so JSON in Qt) holds exactly.
constexpr qint64 kExactLimit = qint64(1) << 53;

QJsonValue integerJson(qint64 value)
{
    if (value > kExactLimit || value < -kExactLimit)
        return QString::number(value);
    return double(value);
}

QJsonValue unsignedJson(quint64 value)
{
    if (value > quint64(kExactLimit))
        return QString::number(value);
    return double(value);
}

QJsonValue scalarJson(const VARIANT &value)
{
    switch (value.vt) {
    case VT_BSTR:
        return fromBstr(value.bstrVal);
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE;
    case VT_I1:
        return double(value.cVal);
    case VT_UI1:
        return double(value.bVal);
    case VT_I2:
        return double(value.iVal);
    case VT_UI2:
        return double(value.uiVal);
    case VT_I4:
        return double(value.lVal);
    case VT_UI4:
        return double(value.ulVal);
    case VT_INT:
        return double(value.intVal);
    case VT_UINT:
        return double(value.uintVal);
    case VT_I8:
        return integerJson(value.llVal);
    case VT_UI8:
        return unsignedJson(value.ullVal);
    case VT_R4:
        return double(value.fltVal);
    case VT_R8:
        return value.dblVal;
    default:
        // VT_EMPTY, VT_NULL and what wql cannot show.
        return QJsonValue();
    }
}

QJsonValue arrayJson(SAFEARRAY *array, VARTYPE elementType)
{
    QJsonArray elements;
    LONG lower = 0;
    LONG upper = -1;
    if (!safeArrayBounds(array, &lower, &upper))
        return elements;
    for (LONG index = lower; index <= upper; ++index) {
        // SafeArrayGetElement copies the element (a BSTR is duplicated); a
        // VARIANT of the element's type takes the copy so that clearing it
        // frees whatever was duplicated.
        ScopedVariant element;
        VARIANT *held = element.put();
        void *slot = elementType == VT_VARIANT ? static_cast<void *>(held)
                                               : static_cast<void *>(&held->llVal);
        if (FAILED(SafeArrayGetElement(array, &index, slot))) {
            elements.append(QJsonValue());
            continue;
        }
        if (elementType != VT_VARIANT)
            held->vt = elementType;
        elements.append(scalarJson(*element.get()));
    }
    return elements;
}

} // namespace

QString variantTypeName(VARTYPE type)
{
    QStringList parts;
    if (type & VT_ARRAY)
        parts.append(QStringLiteral("VT_ARRAY"));
    if (type & VT_BYREF)
        parts.append(QStringLiteral("VT_BYREF"));
    const VARTYPE base = type & VT_TYPEMASK;
    QString baseName = QStringLiteral("VT_0x%1").arg(base, 0, 16);
    for (const auto &named : kTypeNames) {
        if (named.type == base)
            baseName = QLatin1String(named.name);
    }
    parts.append(baseName);
    return parts.join(QLatin1Char('|'));
}

QJsonValue variantJson(const VARIANT &value)
{
    if (value.vt & VT_BYREF)
        return QJsonValue();
    if (value.vt & VT_ARRAY)
        return arrayJson(value.parray, value.vt & VT_TYPEMASK);
    return scalarJson(value);
}

QJsonValue typedVariantJson(const VARIANT &value)
{
    QJsonObject typed;
    typed.insert(QStringLiteral("type"), variantTypeName(value.vt));
    typed.insert(QStringLiteral("value"), variantJson(value));
    return typed;
}

QString variantText(const VARIANT &value)
{
    const QJsonValue json = variantJson(value);
    switch (json.type()) {
    case QJsonValue::String:
        return json.toString();
    case QJsonValue::Bool:
        return json.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(json.toDouble(), 'g', 17);
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact));
    default:
        return value.vt == VT_NULL || value.vt == VT_EMPTY ? QStringLiteral("NULL")
                                                           : QStringLiteral("(not shown)");
    }
}
