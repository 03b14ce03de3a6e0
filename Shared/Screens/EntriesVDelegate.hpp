#pragma once

namespace Shared {

class EntriesVC;

class EntriesVDelegate {
public:
    virtual ~EntriesVDelegate() = default;

    // Whether the list shows beside the details (then it keeps a selection).
    virtual bool isBeingDisplayedInExpandedSplitView(EntriesVC& entriesV) = 0;
};

} // namespace Shared
