#pragma once

#include <QtCore/qglobal.h>

// Classes of the host's widget library vs_widgets; a plug-in imports them.
// Only the library's own build defines VS_WIDGETS_BUILD.
#if defined(VS_WIDGETS_BUILD)
#define VS_WIDGETS_EXPORT Q_DECL_EXPORT
#else
#define VS_WIDGETS_EXPORT Q_DECL_IMPORT
#endif
