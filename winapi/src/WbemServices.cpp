#include "WbemServices.h"

#include "Apartment.h"
#include "ClassCatalog.h"
#include "EnumWbemClassObject.h"
#include "QueryExecutor.h"
#include "SeamState.h"
#include "TextFold.h"
#include "WbemClassObject.h"
#include "WqlParser.h"

#include <new>

namespace {

// GetObject's object, when the caller asked for it.
HRESULT handOut(const std::vector<std::wstring> &names,
                const std::vector<winapi_seam::Value> &values, IWbemClassObject **ppObject)
{
    if (!ppObject)
        return WBEM_S_NO_ERROR;
    *ppObject = WbemClassObject::create(std::make_shared<const std::vector<std::wstring>>(names),
                                        std::vector<winapi_seam::Value>(values));
    return *ppObject ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
}

} // namespace

IWbemServices *WbemServices::create() { return new (std::nothrow) WbemServices; }

HRESULT WbemServices::GetObject(const BSTR strObjectPath, LONG, IWbemContext *,
                                IWbemClassObject **ppObject, IWbemCallResult **ppCallResult)
{
    if (ppObject)
        *ppObject = nullptr;
    if (ppCallResult)
        *ppCallResult = nullptr;
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (!strObjectPath)
        return WBEM_E_INVALID_PARAMETER;

    WqlQuery query;
    bool classOnly = false;
    HRESULT hr = WqlParser::parseObjectPath(strObjectPath, &query, &classOnly);
    if (FAILED(hr))
        return hr;
    if (classOnly) {
        // The class definition needs no instance: the machine is not read.
        bool scripted = false;
        const ClassCatalog::Table definition = ClassCatalog::find(query.className, &scripted);
        if (!definition)
            return WBEM_E_NOT_FOUND;
        const ClassTable &table = *definition;
        return handOut(table.columns, std::vector<winapi_seam::Value>(table.columns.size()),
                       ppObject);
    }
    ClassTable table;
    hr = QueryExecutor::run(query, WBEM_E_NOT_FOUND, &table);
    if (hr == WBEM_E_INVALID_QUERY)
        return WBEM_E_INVALID_OBJECT_PATH;
    if (FAILED(hr))
        return hr;
    if (table.rows.empty())
        return WBEM_E_NOT_FOUND;
    return handOut(table.columns, table.rows.front(), ppObject);
}

HRESULT WbemServices::ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG,
                                IWbemContext *, IEnumWbemClassObject **ppEnum)
{
    if (!ppEnum)
        return WBEM_E_INVALID_PARAMETER;
    *ppEnum = nullptr;
    if (!Apartment::isInitialised())
        return CO_E_NOTINITIALIZED;
    if (strQuery)
        SeamState::logQuery(strQuery);
    if (HRESULT injected = S_OK; SeamState::shouldFail(winapi_seam::Step::ExecQuery, &injected))
        return injected;
    if (!strQuery || !strQueryLanguage)
        return WBEM_E_INVALID_PARAMETER;
    if (!TextFold::equal(strQueryLanguage, L"WQL"))
        return WBEM_E_INVALID_QUERY_TYPE;

    ClassTable table;
    const HRESULT hr = QueryExecutor::run(strQuery, &table);
    if (FAILED(hr))
        return hr;
    *ppEnum = EnumWbemClassObject::create(std::move(table));
    return *ppEnum ? WBEM_S_NO_ERROR : WBEM_E_OUT_OF_MEMORY;
}
