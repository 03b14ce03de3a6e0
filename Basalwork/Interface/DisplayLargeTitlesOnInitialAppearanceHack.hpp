#pragma once

#include "Platform/Foundation/NSKeyValueObservation.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UISearchController.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// Lets a large navigation title show on a screen's first appearance: a placeholder search controller
// sits in the navigation item from `viewDidLoad` to the first `viewDidAppear`, then leaves, and the item
// gets back the `hidesSearchBarWhenScrolling` its owner set meanwhile (true when it set none). The
// owner calls the two operations from those two moments; a real search controller of the owner's turns
// the work-around off.
class DisplayLargeTitlesOnInitialAppearanceHack : public Foundation::NSObject {
public:
    const std::shared_ptr<UIKit::UINavigationItem>& navigationItem() const { return m_navigationItem; }
    const std::shared_ptr<UIKit::UISearchController>& searchController() const { return m_searchController; }
    bool hasPerformedHack() const { return m_hasPerformedHack; }
    const std::optional<bool>& hidesSearchBarWhenScrollingSetOutsideOfHack() const
    {
        return m_hidesSearchBarWhenScrollingSetOutsideOfHack;
    }

    virtual void performViewDidLoadActionsIfRequired();
    virtual void performViewDidAppearActionsIfRequired();

protected:
    friend Foundation::Construct;
    // init(navigationItem:)
    explicit DisplayLargeTitlesOnInitialAppearanceHack(std::shared_ptr<UIKit::UINavigationItem> navigationItem);
    void initialize() override;

private:
    void recordOwnersChange(bool hidesSearchBarWhenScrolling);

    std::shared_ptr<UIKit::UINavigationItem> m_navigationItem;
    std::shared_ptr<UIKit::UISearchController> m_searchController;
    bool m_isPerformingViewDidLoadActions = false;
    bool m_isPerformingViewDidAppearActions = false;
    bool m_hasPerformedHack = false;
    std::shared_ptr<Foundation::NSKeyValueObservation> m_hidesSearchBarWhenScrollingObservation;
    std::optional<bool> m_hidesSearchBarWhenScrollingSetOutsideOfHack;
};

} // namespace Basalwork
