#include "Shared/Screens/FileURLInputError.hpp"

namespace Shared {

std::string FileURLInputError::description() const
{
    if (const auto* error = as<NotAFolder>())
        return "Not a folder: " + error->url.lastPathComponent().utf8();
    return "Not a file: " + as<NotAFile>()->url.lastPathComponent().utf8();
}

} // namespace Shared
