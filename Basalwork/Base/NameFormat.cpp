#include "Basalwork/Base/NameFormat.hpp"

namespace Basalwork {

std::optional<NameFormat> NameFormat::fromRawValue(const Foundation::String& rawValue)
{
    for (NameFormat format : allCases())
        if (format.rawValue() == rawValue)
            return format;
    return std::nullopt;
}

Foundation::String NameFormat::rawValue() const
{
    return m_case == Case::firstLast ? "firstLast" : "lastFirst";
}

} // namespace Basalwork
