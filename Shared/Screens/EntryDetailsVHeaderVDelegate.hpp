#pragma once

namespace Shared {

class EntryDetailsVHeaderV;

// The buttons of the item details header that are not menu sources. Requirements in their fixed order.
class EntryDetailsVHeaderVDelegate {
public:
    virtual ~EntryDetailsVHeaderVDelegate() = default;
    virtual void didSelectPinWindow(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectLock(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectDismiss(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectCancel(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectEdit(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectDone(EntryDetailsVHeaderV& headerV) = 0;
    virtual void didSelectRestore(EntryDetailsVHeaderV& headerV) = 0;
};

} // namespace Shared
