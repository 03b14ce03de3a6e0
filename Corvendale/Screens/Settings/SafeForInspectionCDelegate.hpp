#pragma once

namespace Corvendale {

// The presenter of the safe-for-inspection page, a view controller: the page asks it only to dismiss
// the page.
class SafeForInspectionCDelegate {
public:
    virtual ~SafeForInspectionCDelegate() = default;
};

} // namespace Corvendale
