#include "Platform/Foundation/EncodingError.hpp"

#include "Platform/Foundation/NSError.hpp"

namespace Foundation {

std::string EncodingError::domain() const
{
    return NSCocoaErrorDomain;
}

std::string EncodingError::description() const
{
    const auto& invalid = std::get<InvalidValue>(m_case);
    return "invalidValue(" + invalid.value + ", " + invalid.context.description() + ")";
}

std::string EncodingError::localizedDescription() const
{
    return "The data couldn\u2019t be written because it isn\u2019t in the correct format.";
}

} // namespace Foundation
