// Built on Windows only, into a folder off the DLL search path: the test
// plug-in "unresolved" imports this function, so loading that plug-in fails.
extern "C" __declspec(dllexport) int testPluginMissingSymbol() { return 0; }
