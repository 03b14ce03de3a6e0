#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <string>
#include <typeinfo>

namespace Basalwork {

// The name of the object's dynamic type without module or enclosing types ("EntriesCoordinator"), for
// log texts.
template <class Object>
std::string typeDescription(const Object& object)
{
    return Foundation::demangledTypeName(typeid(object).name());
}

} // namespace Basalwork
