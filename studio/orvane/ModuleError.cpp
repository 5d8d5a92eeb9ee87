#include "ModuleError.h"

#include <string>

namespace orvane {

namespace {

class ModuleErrorCategory final : public std::error_category
{
public:
    const char *name() const noexcept override { return "orvane.module"; }

    std::string message(int code) const override
    {
        switch (static_cast<ModuleError>(code)) {
        case ModuleError::NoSuchModule:
            return "no module of that name";
        case ModuleError::WrongInterface:
            return "a module of that name exists with another interface type";
        }
        return "unknown module error " + std::to_string(code);
    }
};

} // namespace

const std::error_category &moduleErrorCategory()
{
    static const ModuleErrorCategory category;
    return category;
}

std::error_code make_error_code(ModuleError e)
{
    return {static_cast<int>(e), moduleErrorCategory()};
}

} // namespace orvane
