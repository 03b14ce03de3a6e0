#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Basalwork {

// Where a change came from.
enum class ChangeSource { local, remote };

Foundation::String rawValue(ChangeSource source);
// Only the exact raw values name a source.
std::optional<ChangeSource> changeSource(const Foundation::String& rawValue);

} // namespace Basalwork
