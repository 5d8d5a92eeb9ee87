#pragma once

#include "tests/SeamCounters.h"

// Helpers for the stand-in's own tests: owning wrappers for what the
// stand-in hands out, a connected session, queries run to completion and the
// leak check every test ends with.
#include <winapi/Wbem.h>
#include <winapi/WinapiSeam.h>

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

using Rows = std::vector<winapi_seam::Row>;
Q_DECLARE_METATYPE(Rows)
Q_DECLARE_METATYPE(winapi_seam::Step)

struct ComRelease
{
    void operator()(IUnknown *object) const { object->Release(); }
};
template<class T>
using ComRef = std::unique_ptr<T, ComRelease>;

struct ScopedVariant
{
    ScopedVariant() { VariantInit(&value); }
    ~ScopedVariant() { VariantClear(&value); }
    ScopedVariant(const ScopedVariant &) = delete;
    ScopedVariant &operator=(const ScopedVariant &) = delete;
    VARIANT value;
};

struct ScopedArray
{
    ~ScopedArray() { SafeArrayDestroy(array); }
    SAFEARRAY *array = nullptr;
};

inline std::wstring wide(const QString &text) { return text.toStdWString(); }

// The BSTR elements of a one-dimensional array, in index order.
inline QStringList bstrList(SAFEARRAY *array)
{
    QStringList list;
    LONG low = 0, high = -1;
    SafeArrayGetLBound(array, 1, &low);
    SafeArrayGetUBound(array, 1, &high);
    for (LONG i = low; i <= high; ++i) {
        BSTR item = nullptr;
        SafeArrayGetElement(array, &i, &item);
        list << QString::fromWCharArray(item);
        SysFreeString(item);
    }
    return list;
}

// A value as comparable text: "null", "'text'", "i:5", "b:true", "[a|b]",
// or "vt:<n>" for anything else.
inline QString describe(const VARIANT &value)
{
    switch (value.vt) {
    case VT_NULL:
        return QStringLiteral("null");
    case VT_BSTR:
        return QLatin1Char('\'') + QString::fromWCharArray(value.bstrVal) + QLatin1Char('\'');
    case VT_I4:
        return QStringLiteral("i:%1").arg(value.lVal);
    case VT_BOOL:
        return value.boolVal == VARIANT_TRUE     ? QStringLiteral("b:true")
                : value.boolVal == VARIANT_FALSE ? QStringLiteral("b:false")
                                                 : QStringLiteral("b:bad");
    case VT_ARRAY | VT_BSTR:
        return QLatin1Char('[') + bstrList(value.parray).join(QLatin1Char('|')) + QLatin1Char(']');
    default:
        return QStringLiteral("vt:%1").arg(value.vt);
    }
}

inline QStringList propertyNames(IWbemClassObject *object, LONG flags = 0)
{
    ScopedArray names;
    if (FAILED(object->GetNames(nullptr, flags, nullptr, &names.array)))
        return {QStringLiteral("<GetNames failed>")};
    return bstrList(names.array);
}

// The Id values of rows as Session::query lists them, e.g. "1,3".
inline QString ids(const QList<QStringList> &rows)
{
    QStringList result;
    for (const QStringList &row : rows) {
        for (const QString &entry : row) {
            if (entry.startsWith(QLatin1String("Id=i:")))
                result << entry.mid(5);
        }
    }
    return result.join(QLatin1Char(','));
}

inline QString readProperty(IWbemClassObject *object, const QString &name)
{
    ScopedVariant value;
    const HRESULT hr = object->Get(wide(name).c_str(), 0, &value.value, nullptr, nullptr);
    if (FAILED(hr))
        return QStringLiteral("hr:%1").arg(quint32(hr), 8, 16, QLatin1Char('0'));
    return describe(value.value);
}

// COM initialised on this thread and connected to the local root\cimv2;
// everything is released and uninitialised again when it goes.
class Session
{
public:
    Session()
    {
        initHr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IWbemLocator *newLocator = nullptr;
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         reinterpret_cast<void **>(&newLocator));
        locator.reset(newLocator);
        if (locator) {
            IWbemServices *newServices = nullptr;
            const _bstr_t path(L"\\\\.\\root\\cimv2");
            locator->ConnectServer(path, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                   &newServices);
            services.reset(newServices);
        }
    }
    ~Session()
    {
        services.reset();
        locator.reset();
        if (SUCCEEDED(initHr))
            CoUninitialize();
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Runs the query to its end; each row as "Name=value" texts in the
    // order GetNames gives.
    HRESULT query(const QString &wql, QList<QStringList> *rows, const wchar_t *language = L"WQL")
    {
        IEnumWbemClassObject *newEnumerator = nullptr;
        const _bstr_t text(wide(wql).c_str());
        const HRESULT hr =
                services->ExecQuery(_bstr_t(language), text,
                                    WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                    &newEnumerator);
        if (FAILED(hr))
            return hr;
        const ComRef<IEnumWbemClassObject> enumerator(newEnumerator);
        for (;;) {
            IWbemClassObject *object = nullptr;
            ULONG returned = 0;
            const HRESULT next = enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
            if (returned == 0) {
                // The end is WBEM_S_FALSE with nothing returned, never an error.
                return next == WBEM_S_FALSE ? WBEM_S_NO_ERROR : next;
            }
            const ComRef<IWbemClassObject> row(object);
            QStringList values;
            for (const QString &name : propertyNames(object))
                values << name + QLatin1Char('=') + readProperty(object, name);
            rows->append(values);
        }
    }

    // GetObject, with the object as the one row.
    HRESULT object(const QString &path, QList<QStringList> *rows)
    {
        IWbemClassObject *found = nullptr;
        const HRESULT hr =
                services->GetObject(_bstr_t(wide(path).c_str()), 0, nullptr, &found, nullptr);
        if (FAILED(hr))
            return hr;
        const ComRef<IWbemClassObject> row(found);
        QStringList values;
        for (const QString &name : propertyNames(found))
            values << name + QLatin1Char('=') + readProperty(found, name);
        rows->append(values);
        return hr;
    }

    HRESULT initHr = E_FAIL;
    ComRef<IWbemLocator> locator;
    ComRef<IWbemServices> services;
};

inline QString hex(HRESULT hr)
{
    return QStringLiteral("0x%1").arg(quint32(hr), 8, 16, QLatin1Char('0'));
}
