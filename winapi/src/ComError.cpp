#include <winapi/ComDef.h>

_com_error::~_com_error() = default;

void _com_issue_error(HRESULT hr) { throw _com_error(hr); }
