#include "Platform/Foundation/NSAttributedString.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Foundation {

NSAttributedString::NSAttributedString(String string)
    : NSAttributedString(std::move(string), {})
{
}

NSAttributedString::NSAttributedString(String string, Attributes attributes)
    : m_string(std::move(string))
    , m_attributes(std::make_shared<const Attributes>(std::move(attributes)))
{
}

std::int64_t NSAttributedString::length() const
{
    std::int64_t units = 0;
    for (char byte : m_string.view()) {
        auto value = static_cast<unsigned char>(byte);
        // A lead byte starts one scalar; scalars beyond the basic plane take two units.
        if ((value & 0xC0) != 0x80)
            units += value >= 0xF0 ? 2 : 1;
    }
    return units;
}

const NSAttributedString::Attributes& NSAttributedString::attributes(std::int64_t at) const
{
    precondition(at >= 0 && at < length(), "NSAttributedString index out of bounds");
    return *m_attributes;
}

} // namespace Foundation
