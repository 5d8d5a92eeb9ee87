#include "wmi/WMIObject.h"

#include "wmi/BstrText.h"
#include "wmi/ScopedSafeArray.h"

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
    const _bstr_t property = toBstr(name);
    // Read into a value of our own and hand it over only on success, so a
    // failed read cannot leave anything half-written in the caller's VARIANT.
    VARIANT read;
    VariantInit(&read);
    if (FAILED(object->Get(property, 0, &read, nullptr, nullptr))) {
        VariantClear(&read);
        return false;
    }
    *value = read;
    return true;
}

QStringList WMIObject::propertyNames(long flags) const
{
    QStringList names;
    IWbemClassObject *object = std::shared_ptr<IWbemClassObject>::get();
    if (!object)
        return names;
    ScopedSafeArray array;
    if (FAILED(object->GetNames(nullptr, flags, nullptr, array.put())) || !array.get())
        return names;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array.get(), 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array.get(), 1, &upper)))
        return names;
    for (LONG index = lower; index <= upper; ++index) {
        QString name;
        if (bstrElement(array.get(), index, &name))
            names.append(name);
    }
    return names;
}

bool WMIObject::hasProperty(const QString &name) const
{
    return propertyNames(0).contains(name, Qt::CaseSensitive);
}
