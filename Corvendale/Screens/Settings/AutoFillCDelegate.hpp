#pragma once

namespace Corvendale {

class AutoFillC;

// The presenter of the AutoFill page: the settings coordinator, or the item details, which offer the
// page after an item is saved. It dismisses the page on Done when it is presenting it.
class AutoFillCDelegate {
public:
    virtual ~AutoFillCDelegate() = default;
    virtual void didSelectDone(AutoFillC& autoFillC) = 0;
};

} // namespace Corvendale
