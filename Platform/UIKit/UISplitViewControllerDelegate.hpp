#pragma once

#include "Platform/UIKit/UISplitViewController.hpp"

#include <memory>
#include <optional>

namespace UIKit {

// What a split view tells and asks its delegate, which it holds weakly. Every answer has a default.
class UISplitViewControllerDelegate {
public:
    using Column = UISplitViewController::Column;
    using DisplayMode = UISplitViewController::DisplayMode;

    virtual ~UISplitViewControllerDelegate() = default;

    virtual void willChangeTo(UISplitViewController& /*splitViewController*/, DisplayMode /*displayMode*/) {}
    virtual void willShow(UISplitViewController& /*splitViewController*/, Column /*column*/) {}
    virtual void willHide(UISplitViewController& /*splitViewController*/, Column /*column*/) {}
    // Column style: which column shows once collapsed; the proposal unless answered.
    virtual Column topColumnForCollapsingToProposedTopColumn(UISplitViewController& /*splitViewController*/, Column proposedTopColumn)
    {
        return proposedTopColumn;
    }
    // Classic style: true when the delegate merged the secondary controller into the primary itself.
    virtual bool collapseSecondary(UISplitViewController& /*splitViewController*/,
                                   const std::shared_ptr<UIViewController>& /*secondary*/,
                                   const std::shared_ptr<UIViewController>& /*ontoPrimary*/)
    {
        return false;
    }
    // Classic style: the secondary controller to show once expanded; none leaves it to the split view.
    virtual std::shared_ptr<UIViewController> separateSecondary(UISplitViewController& /*splitViewController*/,
                                                                const std::shared_ptr<UIViewController>& /*fromPrimary*/)
    {
        return nullptr;
    }
    // True when the delegate showed the detail controller itself.
    virtual bool showDetail(UISplitViewController& /*splitViewController*/, const std::shared_ptr<UIViewController>& /*vc*/,
                            const std::shared_ptr<Foundation::NSObject>& /*sender*/)
    {
        return false;
    }
    virtual void didCollapse(UISplitViewController& /*splitViewController*/) {}
    virtual void didExpand(UISplitViewController& /*splitViewController*/) {}

protected:
    UISplitViewControllerDelegate() = default;
    UISplitViewControllerDelegate(const UISplitViewControllerDelegate&) = default;
    UISplitViewControllerDelegate& operator=(const UISplitViewControllerDelegate&) = default;
};

} // namespace UIKit
