#pragma once

#include "wmi/ScopedBstr.h"
#include "wmi/WmiPlatform.h"

#include <QString>
#include <QStringList>

// Text crossing between Qt and COM.

// A BSTR holding the text's characters. A failed allocation raises
// _com_error(E_OUTOFMEMORY), as the COM support library's _bstr_t does.
ScopedBstr toBstr(const QString &text);

// The text of a BSTR up to its terminating NUL; a null BSTR is COM's empty
// text.
QString fromBstr(const OLECHAR *text);

// The first `maxCount` elements of a one-dimensional array of BSTRs, in index
// order; an element that cannot be read is left out, and no element past
// `maxCount` is read. Empty for a null array or one without bounds.
QStringList bstrElements(SAFEARRAY *array, LONG maxCount);
