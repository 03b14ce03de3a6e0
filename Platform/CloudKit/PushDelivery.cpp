#include "Platform/CloudKit/PushDelivery.hpp"

#include "Platform/CloudKit/PushWatcher.hpp"

namespace CloudKit {

std::shared_ptr<Foundation::NSObject> PushDelivery::addHandler(Handler handler)
{
    return PushWatcher::shared().addHandler(std::move(handler));
}

void PushDelivery::removeHandler(const std::shared_ptr<Foundation::NSObject>& token)
{
    PushWatcher::shared().removeHandler(token.get());
}

} // namespace CloudKit
