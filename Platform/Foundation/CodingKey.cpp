#include "Platform/Foundation/CodingKey.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Foundation {

std::string CodingKey::description() const
{
    if (intValue)
        return "_CodingKey(stringValue: " + debugQuoted(stringValue) + ", intValue: " + std::to_string(*intValue) + ")";
    return "CodingKeys(stringValue: " + debugQuoted(stringValue) + ", intValue: nil)";
}

std::string describe(const CodingPath& path)
{
    std::string text = "[";
    for (std::size_t i = 0; i < path.size(); ++i)
        text += (i ? ", " : "") + path[i].description();
    return text + "]";
}

} // namespace Foundation
