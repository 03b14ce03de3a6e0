#pragma once

namespace Corvendale {

class ResetC;

// The presenter of the reset page, a view controller, which replaces the locally cached data with the
// account's once the person confirmed it.
class ResetCDelegate {
public:
    virtual ~ResetCDelegate() = default;
    virtual void didConfirmClearLocalCache(ResetC& resetC) = 0;
};

} // namespace Corvendale
