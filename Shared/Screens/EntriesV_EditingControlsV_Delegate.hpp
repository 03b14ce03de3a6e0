#pragma once

#include <memory>

namespace UIKit {
class UIView;
}

namespace Shared {

class EntriesVC;

// The controls under the list while several items are selected, in this order; each acts on the list's
// selected items.
class EntriesV_EditingControlsV_Delegate {
public:
    virtual ~EntriesV_EditingControlsV_Delegate() = default;

    virtual void didSelectDone(EntriesVC& entriesV) = 0;
    virtual void didSelectSelectAll(EntriesVC& entriesV) = 0;
    virtual void didSelectDeselectAll(EntriesVC& entriesV) = 0;
    virtual void didSelectFavorite(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectDuplicate(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectArchive(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectUnarchive(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectRestore(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
    virtual void didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesV) = 0;
};

} // namespace Shared
