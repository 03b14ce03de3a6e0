#include "Basalwork/Base/ChangeSource.hpp"

namespace Basalwork {

Foundation::String rawValue(ChangeSource source)
{
    return source == ChangeSource::local ? "local" : "remote";
}

std::optional<ChangeSource> changeSource(const Foundation::String& rawValue)
{
    // Raw values compare byte for byte, as the platform's enumerations do.
    if (rawValue.view() == "local")
        return ChangeSource::local;
    if (rawValue.view() == "remote")
        return ChangeSource::remote;
    return std::nullopt;
}

} // namespace Basalwork
