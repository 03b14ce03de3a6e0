#pragma once

#include "Shared/Screens/EntriesTVCDelegate.hpp"
#include "Shared/Screens/EntriesVDelegate.hpp"
#include "Shared/Screens/EntriesVHeaderVDelegate.hpp"
#include "Shared/Screens/EntriesV_EditingControlsV_Delegate.hpp"
#include "Shared/Screens/EntriesV_HeaderV_NewItemButton_Delegate.hpp"
#include "Shared/Screens/EntriesV_HeaderV_TitleButton_Delegate.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Everything the item list asks of and tells its owner.
class EntriesVCDelegate : public virtual EntriesTVCDelegate,
                          public virtual EntriesVDelegate,
                          public virtual EntriesVHeaderVDelegate,
                          public virtual EntriesV_EditingControlsV_Delegate,
                          public virtual EntriesV_HeaderV_TitleButton_Delegate,
                          public virtual EntriesV_HeaderV_NewItemButton_Delegate {
public:
    using EntriesTVCDelegate::contextMenu;
    using EntriesV_HeaderV_TitleButton_Delegate::contextMenu;

    // Return on the selected item: in the picker, the item chosen; elsewhere, its details wanted.
    virtual void didActivate(const Foundation::String& entryID, EntriesVC& entriesVC) = 0;
};

} // namespace Shared
