#include "Basalwork/Interface/NibLoadable.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork::detail {

void notLoadableFromXib(const Foundation::String& xibFilename, const std::string& typeName)
{
    Foundation::fatalError("The first object of " + std::string(xibFilename.view()) + " is not a " + typeName);
}

} // namespace Basalwork::detail
