#pragma once

#include <QtCore/qglobal.h>

// Classes of the host framework live in the host's `orvane` library; a
// plug-in imports them. Only the framework's own build defines ORVANE_BUILD.
#if defined(ORVANE_BUILD)
#define ORVANE_EXPORT Q_DECL_EXPORT
#else
#define ORVANE_EXPORT Q_DECL_IMPORT
#endif
