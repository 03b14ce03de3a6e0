#include "Platform/UIKit/KeyValueCoding.hpp"

namespace UIKit {

void KeyValueCoding::setValue(std::any value, const Foundation::String& forKey)
{
    if (value.has_value())
        m_values.insert_or_assign(forKey, std::move(value));
    else
        m_values.erase(forKey);
}

std::any KeyValueCoding::value(const Foundation::String& forKey) const
{
    auto found = m_values.find(forKey);
    return found == m_values.end() ? std::any {} : found->second;
}

} // namespace UIKit
