#include "Platform/CoreData/CoreDataError.hpp"

namespace CoreData {

Foundation::NSError CoreDataError::make(Code code, const std::string& description, const std::optional<std::string>& path,
                                        Foundation::ErrorPtr underlyingError)
{
    std::map<std::string, std::string> userInfo {{Foundation::NSLocalizedDescriptionKey, description}};
    if (path)
        userInfo.emplace(Foundation::NSFilePathErrorKey, *path);
    return Foundation::NSError(Foundation::NSCocoaErrorDomain, code, std::move(userInfo), std::move(underlyingError));
}

} // namespace CoreData
