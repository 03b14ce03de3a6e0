#pragma once

#include "Shared/Screens/EntriesVCDelegate.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Shared {

// The owner of a list that only picks an item (the one-time-password setup's picker, the AutoFill list):
// the list offers no item actions there, so no context menu, no copies and no swipes (a swipe that arrives
// anyway is refused), and the selection and editing controls do nothing. The owner answers the rest.
class EntriesVCPickerDelegate : public EntriesVCDelegate {
public:
    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>&, const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override
    {
        return nullptr;
    }
    std::shared_ptr<UIKit::UIMenu> contextMenu(UIKit::UIButton&) override { return nullptr; }

    std::optional<Foundation::String> username(const Foundation::String&, EntriesVC&) override { return std::nullopt; }
    void copyUsername(const Foundation::String&, SwipeCompletion completion, EntriesVC&) override { refuse(completion); }
    std::optional<Foundation::String> password(const Foundation::String&, EntriesVC&) override { return std::nullopt; }
    void copyPassword(const Foundation::String&, SwipeCompletion completion, EntriesVC&) override { refuse(completion); }
    std::optional<Foundation::String> oneTimePassword(const Foundation::String&, EntriesVC&) override { return std::nullopt; }
    void copyOneTimePassword(const Foundation::String&, SwipeCompletion completion, EntriesVC&) override { refuse(completion); }

    bool allowsLeadingSwipeActions(EntriesVC&) override { return false; }
    bool allowsTrailingSwipeActions(EntriesVC&) override { return false; }
    void didSwipeToFavorite(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToUnfavorite(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToDuplicate(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToShare(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToArchive(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToUnarchive(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToMoveToTrash(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToRestore(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override { refuse(c); }
    void didSwipeToDeletePermanently(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion c, EntriesVC&) override
    {
        refuse(c);
    }

    void didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectSettings(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectSelect(EntriesVC&) override {}
    void didSelectDone(EntriesVC&) override {}
    void didSelectSelectAll(EntriesVC&) override {}
    void didSelectDeselectAll(EntriesVC&) override {}
    void didSelectFavorite(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectDuplicate(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectArchive(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectUnarchive(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectRestore(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}
    void didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>&, EntriesVC&) override {}

private:
    static void refuse(const SwipeCompletion& completion)
    {
        if (completion)
            completion(false);
    }
};

} // namespace Shared
