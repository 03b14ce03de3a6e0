#pragma once

#include "Platform/Foundation/ISO8601DateFormatter.hpp"

#include <memory>

namespace Basalwork {

struct ISO8601DateFormatters {
    // One formatter with the platform's defaults, made on first use and shared by every caller; the
    // formatter is safe to use from several threads.
    static const std::shared_ptr<Foundation::ISO8601DateFormatter>& shared();
};

} // namespace Basalwork
