#pragma once

#include "Shared/Model/Entry.Category.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Corvendale {

// What the item picker for a one-time-password link reports, in this order. Held weakly.
class EntrySelectionCDelegate {
public:
    virtual ~EntrySelectionCDelegate() = default;
    virtual void entrySelectionCDidCancel() = 0;
    // entrySelectionC(didSelect:otpAuthURL:)
    virtual void entrySelectionC(const Foundation::String& didSelect, const Foundation::URL& otpAuthURL) = 0;
    // entrySelectionC(didSelectNewItemFor:): the link goes with the category.
    virtual void entrySelectionC(Shared::EntryCategory didSelectNewItemFor, const Foundation::URL& otpAuthURL) = 0;
};

} // namespace Corvendale
