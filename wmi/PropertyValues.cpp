#include "wmi/PropertyValues.h"

#include "wmi/BstrText.h"
#include "wmi/ScopedVariant.h"
#include "wmi/WMIObject.h"

namespace {

// The property's value when it has type `type`.
std::optional<ScopedVariant> typedRead(const WMIObject &row, const QString &name, VARTYPE type)
{
    ScopedVariant value;
    if (!row.get(name, value.put()) || value.type() != type)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QString> textProperty(const WMIObject &row, const QString &name)
{
    if (const auto value = typedRead(row, name, VT_BSTR))
        return fromBstr(value->get()->bstrVal);
    return std::nullopt;
}

std::optional<qint32> int32Property(const WMIObject &row, const QString &name)
{
    if (const auto value = typedRead(row, name, VT_I4))
        return value->get()->lVal;
    return std::nullopt;
}

std::optional<QStringList> textArrayProperty(const WMIObject &row, const QString &name, int maxCount)
{
    if (const auto value = typedRead(row, name, VT_ARRAY | VT_BSTR))
        return bstrElements(value->get()->parray, maxCount);
    return std::nullopt;
}
