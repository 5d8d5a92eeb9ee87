#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include <winapi/ComBase.h>
#include <winapi/OleAuto.h>
#include <winapi/WbemCli.h>
#include <winapi/WinapiSeam.h>

#include <string>

namespace {

// What ExecQuery answers for a WQL text it does not run: not a query it
// can parse or whose properties the class lacks, an unknown class, or no
// memory for the result.
bool isDocumentedQueryError(HRESULT hr)
{
    return hr == WBEM_E_INVALID_QUERY || hr == WBEM_E_INVALID_CLASS || hr == WBEM_E_OUT_OF_MEMORY;
}

// One connection to the local namespace for the whole run: the fuzzer is
// after the query engine, not the connect steps.
IWbemServices *services()
{
    static IWbemServices *connected = [] {
        IWbemServices *result = nullptr;
        FUZZ_CHECK(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)), "CoInitializeEx");
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        IWbemLocator *locator = nullptr;
        FUZZ_CHECK(SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWbemLocator,
                                              reinterpret_cast<void **>(&locator))),
                   "CoCreateInstance");
        BSTR path = SysAllocString(L"\\\\.\\root\\cimv2");
        FUZZ_CHECK(locator &&
                           SUCCEEDED(locator->ConnectServer(path, nullptr, nullptr, nullptr, 0,
                                                            nullptr, nullptr, &result)),
                   "ConnectServer");
        SysFreeString(path);
        if (locator)
            locator->Release();
        return result;
    }();
    return connected;
}

bool sameCounts(const winapi_seam::Counters &a, const winapi_seam::Counters &b)
{
    return a.interfaces == b.interfaces && a.bstrs == b.bstrs && a.safeArrays == b.safeArrays &&
            a.apartmentDepth == b.apartmentDepth;
}

// Reads every property of a row, as a client that dumps rows does.
void readRow(IWbemClassObject *row)
{
    SAFEARRAY *names = nullptr;
    if (FAILED(row->GetNames(nullptr, 0, nullptr, &names)) || !names)
        return;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(names, 1, &lower);
    SafeArrayGetUBound(names, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        BSTR name = nullptr;
        if (FAILED(SafeArrayGetElement(names, &i, &name)))
            continue;
        VARIANT value;
        VariantInit(&value);
        row->Get(name, 0, &value, nullptr, nullptr);
        VariantClear(&value);
        SysFreeString(name);
    }
    SafeArrayDestroy(names);
}

} // namespace

// Any byte string as a WQL query (each byte one character, NULs included):
// ExecQuery answers rows or one of its documented errors, never crashes or
// hangs (the fuzzer's time-out), and every object, BSTR and SAFEARRAY it
// handed out is gone once the client has released them.
int fuzzWql(const uint8_t *data, size_t size)
{
    IWbemServices *wbem = services();
    if (!wbem)
        return 0;
    // The seam logs every query text; a long run must not keep them all.
    winapi_seam::reset();
    const winapi_seam::Counters before = winapi_seam::counters();

    std::wstring text(size, L'\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = wchar_t(data[i]);
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocStringLen(text.data(), UINT(text.size()));
    IEnumWbemClassObject *rows = nullptr;
    const HRESULT hr =
            wbem->ExecQuery(language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                            nullptr, &rows);
    if (SUCCEEDED(hr)) {
        FUZZ_CHECK(rows != nullptr, "ExecQuery succeeded without an enumerator");
        // Bounded, so an endless enumerator shows up as a finding.
        for (int n = 0; rows && n < 100000; ++n) {
            IWbemClassObject *row = nullptr;
            ULONG returned = 0;
            const HRESULT next = rows->Next(LONG(WBEM_INFINITE), 1, &row, &returned);
            if (FAILED(next) || returned == 0) {
                FUZZ_CHECK(row == nullptr, "Next handed out an object with no row");
                break;
            }
            FUZZ_CHECK(row != nullptr, "Next counted a row but gave none");
            if (row) {
                readRow(row);
                row->Release();
            }
            FUZZ_CHECK(n + 1 < 100000, "the enumerator does not end");
        }
        if (rows)
            rows->Release();
    } else {
        FUZZ_CHECK(rows == nullptr, "a failed ExecQuery handed out an enumerator");
        FUZZ_CHECK(isDocumentedQueryError(hr),
                   "ExecQuery answered an undocumented HRESULT " + std::to_string(hr));
    }
    SysFreeString(query);
    SysFreeString(language);
    FUZZ_CHECK(sameCounts(before, winapi_seam::counters()),
               "the query leaked COM objects or memory");
    return 0;
}
