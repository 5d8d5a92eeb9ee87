#include "wmi/WMIObject.h"

#include "wmi/BstrText.h"
#include "wmi/ScopedSafeArray.h"
#include "wmi/ScopedVariant.h"

#include <limits>

namespace {

struct ReleaseObject
{
    void operator()(IWbemClassObject *object) const { object->Release(); }
};

} // namespace

WMIObject::WMIObject(IWbemClassObject *object)
{
    if (object)
        reset(object, ReleaseObject());
}

WMIObject::~WMIObject() = default;

bool WMIObject::get(const QString &name, VARIANT *value) const
{
    IWbemClassObject *object = std::shared_ptr<IWbemClassObject>::get();
    if (!object || !value)
        return false;
    const ScopedBstr property = toBstr(name);
    // Read into a value of our own and hand it over only on success, so a
    // failed read cannot leave anything half-written in the caller's VARIANT.
    ScopedVariant read;
    if (FAILED(object->Get(property.get(), 0, read.put(), nullptr, nullptr)))
        return false;
    *value = read.release();
    return true;
}

QStringList WMIObject::propertyNames(long flags) const
{
    IWbemClassObject *object = std::shared_ptr<IWbemClassObject>::get();
    ScopedSafeArray array;
    if (!object || FAILED(object->GetNames(nullptr, flags, nullptr, array.put())))
        return QStringList();
    return bstrElements(array.get(), std::numeric_limits<LONG>::max());
}

bool WMIObject::hasProperty(const QString &name) const
{
    return propertyNames(0).contains(name, Qt::CaseSensitive);
}
