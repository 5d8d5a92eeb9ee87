#include "lookup/ModuleIdentity.h"

namespace {
// Written once by the factory before any page exists, then only read, all
// on the host's user-interface thread: no lock needed.
const void *g_identity = nullptr;
} // namespace

const void *moduleIdentity() { return g_identity; }

void setModuleIdentity(const void *identity) { g_identity = identity; }
