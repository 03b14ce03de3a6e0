#include "Platform/Foundation/AnyClass.hpp"

#include "Platform/Foundation/NSObject.hpp"

namespace Foundation {

std::string AnyClass::name() const
{
    return demangledTypeName(m_type->name());
}

} // namespace Foundation
