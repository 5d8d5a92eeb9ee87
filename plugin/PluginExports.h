#pragma once

// The plug-in's two entry points, the only symbols it exports.

class FlagRegistry;
namespace orvane {
class ModuleRef;
}

#if defined(_WIN32)
#define UIS_DEV_PLUGIN_EXPORT __declspec(dllexport)
#else
#define UIS_DEV_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// The descriptor the host's loader reads: static text, the same pointer on
// every call; the caller must not free it.
UIS_DEV_PLUGIN_EXPORT const char *VD_GetPluginInfo();
// Declares the plug-in's flag, creates its module and returns the handle,
// which the caller owns.
UIS_DEV_PLUGIN_EXPORT orvane::ModuleRef *__orvane_internal_create_uis_dev_module__(
        FlagRegistry *flags);
}
