#pragma once

// The identity this plug-in presents to the host on every look-up of a
// peer module. Null until the module factory has run; the factory sets it
// once, from the handle it gives the host.
const void *moduleIdentity();
void setModuleIdentity(const void *identity);
