#pragma once

#include <memory>

namespace UIKit {
class UIView;
}

namespace Shared {

class EntriesVC;

// The list header's buttons, in this order: the sync status indicator, settings, select (multiple
// selection on and off), and cancel (where the owner shows it).
class EntriesVHeaderVDelegate {
public:
    virtual ~EntriesVHeaderVDelegate() = default;

    virtual void didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectSettings(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectSelect(EntriesVC& entriesV) = 0;
    virtual void didSelectCancel(EntriesVC& entriesV) = 0;
};

} // namespace Shared
