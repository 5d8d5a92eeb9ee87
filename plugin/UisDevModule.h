#pragma once

#include "host/AbstractModule.h"

// The interface under which the host knows this plug-in's module.
class UisDevModule : public orvane::AbstractModule
{ };
