#include "host/AbstractModule.h"

namespace orvane {

AbstractModule::AbstractModule() = default;
AbstractModule::~AbstractModule() = default;

bool AbstractModule::init(Application &) { return true; }

void AbstractModule::uninit() { }

bool AbstractModule::isVisible() { return true; }

} // namespace orvane
