#pragma once

namespace Shared {

class SyncStatusV;

class SyncStatusVDelegate {
public:
    virtual ~SyncStatusVDelegate() = default;

    // The action button was pressed; what it does depends on the status shown.
    virtual void didSelectAction(SyncStatusV& syncStatusV) = 0;
};

} // namespace Shared
