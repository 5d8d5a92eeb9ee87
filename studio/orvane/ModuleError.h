#pragma once

#include "host/OrvaneGlobal.h"

#include <system_error>

namespace orvane {

// Why findModule found nothing.
enum class ModuleError {
    NoSuchModule = 1, // no module is registered under that name
    WrongInterface = 2, // a module of that name exists with another interface type
};

ORVANE_EXPORT const std::error_category &moduleErrorCategory();
ORVANE_EXPORT std::error_code make_error_code(ModuleError e);

} // namespace orvane

namespace std {
template<>
struct is_error_code_enum<orvane::ModuleError> : true_type
{ };
} // namespace std
