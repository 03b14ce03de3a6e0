#include "Basalwork/Interface/StoryboardInstantiable.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork::detail {

void failedToInstantiate(const std::string& typeName, const Foundation::String& storyboardFilename)
{
    // The received type is the static one the storyboard hands out, whatever object came.
    Foundation::fatalError("Failed to instantiate initial view controller of type " + typeName + " from "
                           + std::string(storyboardFilename.view())
                           + ".storyboard; received instance of Optional<UIViewController> instead. Ensure Usage "
                             "Requirements section of StoryboardInstantiable documentation have been followed exactly.");
}

} // namespace Basalwork::detail
