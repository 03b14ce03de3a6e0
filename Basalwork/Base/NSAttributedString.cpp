#include "Basalwork/Base/NSAttributedString.hpp"

#include "Basalwork/Base/String.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::NSAttributedString> NSAttributedStrings::withString(const std::optional<Foundation::String>& string,
                                                                                const std::optional<Foundation::NSAttributedString::Attributes>& attributes)
{
    return string ? with(*string, attributes) : nullptr;
}

} // namespace Basalwork
