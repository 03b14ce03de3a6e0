#pragma once

#include <functional>
#include <memory>

namespace Syncwright {
class SyncStatus;
}

namespace UIKit {
class UIScrollView;
class UIView;
}

namespace Corvendale {

// What the sync status pop-over needs of the view that shows a status (SyncStatusC::StatusView): the view
// itself, the scroll view whose content sets the pop-over's height, and the status to show. The view
// reports its one action button through the closure it was made with.
class SyncStatusCStatusView {
public:
    using Maker = std::function<std::shared_ptr<SyncStatusCStatusView>(std::function<void()> didSelectAction)>;

    virtual ~SyncStatusCStatusView() = default;

    virtual std::shared_ptr<UIKit::UIView> view() const = 0;
    virtual std::shared_ptr<UIKit::UIScrollView> scrollView() const = 0;
    virtual void show(const Syncwright::SyncStatus& syncStatus) = 0;
};

} // namespace Corvendale
