#pragma once

#include <QtCore/qglobal.h>

// The widget library exports its classes; its users import them.
#if defined(VS_WIDGETS_BUILD)
#define VS_WIDGETS_EXPORT Q_DECL_EXPORT
#else
#define VS_WIDGETS_EXPORT Q_DECL_IMPORT
#endif
