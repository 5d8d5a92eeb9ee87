#pragma once

#include "LiveCounts.h"

#include <winapi/ComBase.h>

#include <atomic>

// Reference counting and QueryInterface for one COM interface; every live
// object is counted for the seam.
template<class Interface>
class ComObject : public Interface
{
public:
    ComObject(const ComObject &) = delete;
    ComObject &operator=(const ComObject &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == interfaceId()) {
            *ppvObject = static_cast<Interface *>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() { ++LiveCounts::interfaces; }
    virtual ~ComObject() { --LiveCounts::interfaces; }
    virtual const IID &interfaceId() const = 0;

private:
    std::atomic<ULONG> m_references{1};
};
