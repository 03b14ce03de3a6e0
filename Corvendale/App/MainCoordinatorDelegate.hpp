#pragma once

#include <memory>

namespace Corvendale {

class InAppNotificationC;
class MainCoordinator;

// What the main coordinator asks of the scene coordinator. Held weakly.
class MainCoordinatorDelegate {
public:
    virtual ~MainCoordinatorDelegate() = default;

    // The banners of the coordinator's scene.
    virtual std::shared_ptr<InAppNotificationC> inAppNotificationC() const = 0;
    virtual void didSelectReplaceExistingDataWithiCloudData(MainCoordinator& mainCoordinator) = 0;
};

} // namespace Corvendale
