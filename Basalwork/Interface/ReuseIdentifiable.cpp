#include "Basalwork/Interface/ReuseIdentifiable.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <iostream>
#include <string>

namespace Basalwork::detail {

void couldNotDequeue(const Foundation::String& identifier, const std::source_location& location)
{
    std::cerr << location.file_name() << ":" << location.line() << ": ";
    Foundation::fatalError("Could not dequeue cell with reuseIdentifier -- " + std::string(identifier.view()) + " --");
}

} // namespace Basalwork::detail
