#pragma once

#include "wmi/WmiPlatform.h"

#include <memory>
#include <QString>
#include <QStringList>

// One result row of a WMI query. Copies share the class object; the last
// copy releases COM's reference.
class WMIObject : public std::shared_ptr<IWbemClassObject>
{
public:
    WMIObject() = default;
    // Takes over the one reference that COM handed out with `object`.
    explicit WMIObject(IWbemClassObject *object);
    virtual ~WMIObject();

    WMIObject(const WMIObject &) = default;
    WMIObject(WMIObject &&) = default;
    WMIObject &operator=(const WMIObject &) = default;
    WMIObject &operator=(WMIObject &&) = default;

    // Reads a property into `value`, which the caller initialised and will
    // clear. On failure `value` is left as it was.
    bool get(const QString &name, VARIANT *value) const;
    // The class object's property names as GetNames lists them, `flags`
    // passed through unchanged; empty when the call fails.
    QStringList propertyNames(long flags) const;
    // Case-sensitive, as WMI's own names are matched by callers.
    bool hasProperty(const QString &name) const;
};
