#pragma once

namespace Corvendale {

// The lock screen's delegate (the scene coordinator); nothing is asked of it yet. Held weakly.
class AuthenticationCoordinatorDelegate {
public:
    virtual ~AuthenticationCoordinatorDelegate() = default;
};

} // namespace Corvendale
