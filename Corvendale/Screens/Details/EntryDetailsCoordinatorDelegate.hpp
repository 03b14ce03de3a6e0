#pragma once

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace UIKit {
class UIViewController;
}

namespace Corvendale {

class LargeViewerVContent;

// What the item details hand up to their owner, the main coordinator (a view controller). Held weakly.
class EntryDetailsCoordinatorDelegate {
public:
    virtual ~EntryDetailsCoordinatorDelegate() = default;

    // Whether the owner presents `viewController` (the details shown on their own in a collapsed split view).
    virtual bool isPresenting(const UIKit::UIViewController& viewController) const = 0;
    // dismissPresented(_:): when `viewController` is what the owner presents, dismisses it (animated) and
    // then gives the item list the keyboard focus back.
    virtual void dismissPresented(UIKit::UIViewController& viewController) = 0;
    // Whether the item list is in its multiple-selection mode.
    virtual bool isSelectingMultipleEntries() const = 0;
    // The item list selects the item (after an edit that the list did not start).
    virtual void selectEntryInList(const Foundation::String& entryID) = 0;

    // "Copied " followed by `text`.
    virtual void presentInAppNotification(const Foundation::String& text) = 0;
    virtual void presentLargeViewer(const LargeViewerVContent& content) = 0;

    // The single-item changes started from the details header; the same as the list's, with one ID.
    virtual void updateIsFavorite(bool isFavorite, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void updateIsArchived(bool isArchived, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void updateIsTrashed(bool isTrashed, const std::vector<Foundation::String>& entryIDs) = 0;
    virtual void permanentlyDelete(const std::vector<Foundation::String>& entryIDs) = 0;
    // Copies of the items, as the list makes them; the copies are selected where the list shows beside
    // the details.
    virtual void duplicate(const std::vector<Foundation::String>& entryIDs) = 0;
};

} // namespace Corvendale
