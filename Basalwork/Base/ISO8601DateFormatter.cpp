#include "Basalwork/Base/ISO8601DateFormatter.hpp"

namespace Basalwork {

const std::shared_ptr<Foundation::ISO8601DateFormatter>& ISO8601DateFormatters::shared()
{
    static const auto formatter = Foundation::make<Foundation::ISO8601DateFormatter>();
    return formatter;
}

} // namespace Basalwork
