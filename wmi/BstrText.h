#pragma once

#include "wmi/WmiPlatform.h"

#include <QString>

// Text crossing between Qt and COM.

// A BSTR holding the text's characters. Built with _bstr_t's wide-character
// constructor, so a failed allocation throws _com_error(E_OUTOFMEMORY).
_bstr_t toBstr(const QString &text);

// The text of a BSTR up to its terminating NUL; a null BSTR is COM's empty
// text.
QString fromBstr(const OLECHAR *text);

// Reads the BSTR element at `index` of a one-dimensional array of BSTRs into
// `text` and frees the copy that SafeArrayGetElement made. False when the
// element cannot be read.
bool bstrElement(SAFEARRAY *array, LONG index, QString *text);
