#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

struct NSAttributedStrings {
    // init?(string:attributes:) for a text that may be absent: nothing without a text; no attributes when
    // none are given.
    static std::shared_ptr<Foundation::NSAttributedString> withString(const std::optional<Foundation::String>& string,
                                                                      const std::optional<Foundation::NSAttributedString::Attributes>& attributes);
};

} // namespace Basalwork
