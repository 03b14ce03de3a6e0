#include "Basalwork/Interface/UIBackgroundFetchResult.hpp"

namespace Basalwork {

Foundation::String description(UIKit::UIBackgroundFetchResult result)
{
    using Result = UIKit::UIBackgroundFetchResult;
    switch (result) {
    case Result::newData: return "newData";
    case Result::noData: return "noData";
    case Result::failed: return "failed";
    }
    return "unknown";
}

} // namespace Basalwork
