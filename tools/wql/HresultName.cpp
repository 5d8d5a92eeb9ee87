#include "wql/HresultName.h"

namespace {

struct NamedResult
{
    HRESULT hr;
    const char *name;
};

#define UIS_NAMED(code) \
    NamedResult { static_cast<HRESULT>(code), #code }

// The codes the COM set-up, WMI queries and OLE Automation calls answer.
const NamedResult kNames[] = {
        UIS_NAMED(S_OK),
        UIS_NAMED(S_FALSE),
        UIS_NAMED(E_UNEXPECTED),
        UIS_NAMED(E_NOTIMPL),
        UIS_NAMED(E_NOINTERFACE),
        UIS_NAMED(E_POINTER),
        UIS_NAMED(E_ABORT),
        UIS_NAMED(E_FAIL),
        UIS_NAMED(E_ACCESSDENIED),
        UIS_NAMED(E_OUTOFMEMORY),
        UIS_NAMED(E_INVALIDARG),
        UIS_NAMED(CO_E_NOTINITIALIZED),
        UIS_NAMED(CLASS_E_NOAGGREGATION),
        UIS_NAMED(REGDB_E_CLASSNOTREG),
        UIS_NAMED(RPC_E_CHANGED_MODE),
        UIS_NAMED(RPC_E_TOO_LATE),
        UIS_NAMED(DISP_E_BADVARTYPE),
        UIS_NAMED(DISP_E_BADINDEX),
        UIS_NAMED(WBEM_S_TIMEDOUT),
        UIS_NAMED(WBEM_S_NO_MORE_DATA),
        UIS_NAMED(WBEM_E_FAILED),
        UIS_NAMED(WBEM_E_NOT_FOUND),
        UIS_NAMED(WBEM_E_ACCESS_DENIED),
        UIS_NAMED(WBEM_E_PROVIDER_FAILURE),
        UIS_NAMED(WBEM_E_TYPE_MISMATCH),
        UIS_NAMED(WBEM_E_OUT_OF_MEMORY),
        UIS_NAMED(WBEM_E_INVALID_CONTEXT),
        UIS_NAMED(WBEM_E_INVALID_PARAMETER),
        UIS_NAMED(WBEM_E_NOT_AVAILABLE),
        UIS_NAMED(WBEM_E_CRITICAL_ERROR),
        UIS_NAMED(WBEM_E_NOT_SUPPORTED),
        UIS_NAMED(WBEM_E_INVALID_NAMESPACE),
        UIS_NAMED(WBEM_E_INVALID_OBJECT),
        UIS_NAMED(WBEM_E_INVALID_CLASS),
        UIS_NAMED(WBEM_E_TRANSPORT_FAILURE),
        UIS_NAMED(WBEM_E_INVALID_OPERATION),
        UIS_NAMED(WBEM_E_INVALID_QUERY),
        UIS_NAMED(WBEM_E_INVALID_QUERY_TYPE),
        UIS_NAMED(WBEM_E_CALL_CANCELLED),
        UIS_NAMED(WBEM_E_SHUTTING_DOWN),
        UIS_NAMED(WBEM_E_INVALID_OBJECT_PATH),
        UIS_NAMED(WBEM_E_LOCAL_CREDENTIALS),
};

#undef UIS_NAMED

} // namespace

QString hresultText(HRESULT hr)
{
    QString hex = QStringLiteral("0x%1").arg(static_cast<quint32>(hr), 8, 16, QLatin1Char('0'));
    for (const NamedResult &named : kNames) {
        if (named.hr == hr)
            return QStringLiteral("%1 (%2)").arg(hex, QLatin1String(named.name));
    }
    return hex;
}
