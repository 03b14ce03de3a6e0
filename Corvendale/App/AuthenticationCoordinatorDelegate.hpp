#pragma once

namespace Corvendale {

class AuthenticationCoordinator;

// The lock screen's delegate (the scene coordinator). Held weakly.
class AuthenticationCoordinatorDelegate {
public:
    virtual ~AuthenticationCoordinatorDelegate() = default;
    // File > Import chosen on the lock screen: the import page opens once the vault is unlocked.
    virtual void didRequestImportFromFile(AuthenticationCoordinator& authenticationCoordinator) = 0;
};

} // namespace Corvendale
