#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {

class UIBarButtonItem;
class UIButton;
class UILabel;
class UINavigationItem;

// The bar above a navigation stack. It shows its top item: a back button to the item below it, the
// item's buttons at either end, its title, large when the bar prefers large titles and the item allows
// it, and its search controller's bar underneath. Tapping a button sends the item's action.
class UINavigationBar : public UIView {
public:
    static constexpr CGFloat rowHeight = 52;

    const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<UINavigationItem>> items, bool animated);
    std::shared_ptr<UINavigationItem> topItem() const;
    std::shared_ptr<UINavigationItem> backItem() const;
    bool prefersLargeTitles() const { return m_prefersLargeTitles; }
    void setPrefersLargeTitles(bool prefers);

    // Whether the top item's title shows large now.
    bool showsLargeTitle() const;
    // One row, another for a large title, another for a search bar.
    CGFloat preferredHeight() const;
    // The label that shows the top item's title; none while the top item has no title.
    const std::shared_ptr<UILabel>& titleLabel() const { return m_titleLabel; }
    // The bar's back button while there is an item below the top one that it leads back to.
    const std::shared_ptr<UIButton>& backButton() const { return m_backButton; }

protected:
    friend Foundation::Construct;
    UINavigationBar() = default;

private:
    friend class UINavigationController;
    friend class UINavigationItem;
    void itemDidChange(const UINavigationItem& item);
    // Builds the views of the top item anew.
    void showTopItem();
    std::shared_ptr<UIButton> makeButton(const std::shared_ptr<UIBarButtonItem>& item);

    std::vector<std::shared_ptr<UINavigationItem>> m_items;
    bool m_prefersLargeTitles = false;
    std::vector<std::shared_ptr<UIView>> m_itemViews;
    std::shared_ptr<UILabel> m_titleLabel;
    std::shared_ptr<UIButton> m_backButton;
    // What the back button does: the navigation controller pops.
    std::function<void()> m_onBack;
    // The navigation controller grows or shrinks the bar when the top item changes its height.
    std::function<void()> m_onHeightChange;
};

} // namespace UIKit
