#pragma once

#include "Shared/Screens/EntryDetailsTVCDelegate.hpp"
#include "Shared/Screens/EntryDetailsVHeaderVDelegate.hpp"

namespace Shared {

// The owner of the item details answers both its rows and its header.
class EntryDetailsVCDelegate : public EntryDetailsTVCDelegate, public EntryDetailsVHeaderVDelegate { };

} // namespace Shared
