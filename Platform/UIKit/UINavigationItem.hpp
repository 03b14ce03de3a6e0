#pragma once

#include "Platform/Foundation/NSKeyValueObservation.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UINavigationBar;
class UINavigationBarAppearance;
class UISearchController;

// What a navigation bar shows while its controller is on top: the title, the buttons, the search bar.
// A bar showing the item shows its changes at once.
class UINavigationItem : public Foundation::NSObject {
public:
    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title)
    {
        m_title = std::move(title);
        changed();
    }
    const std::vector<std::shared_ptr<UIBarButtonItem>>& leftBarButtonItems() const { return m_leftBarButtonItems; }
    void setLeftBarButtonItems(std::vector<std::shared_ptr<UIBarButtonItem>> items)
    {
        m_leftBarButtonItems = std::move(items);
        changed();
    }
    const std::vector<std::shared_ptr<UIBarButtonItem>>& rightBarButtonItems() const { return m_rightBarButtonItems; }
    void setRightBarButtonItems(std::vector<std::shared_ptr<UIBarButtonItem>> items)
    {
        m_rightBarButtonItems = std::move(items);
        changed();
    }
    std::shared_ptr<UIBarButtonItem> leftBarButtonItem() const { return first(m_leftBarButtonItems); }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { setLeftBarButtonItems(single(std::move(item))); }
    std::shared_ptr<UIBarButtonItem> rightBarButtonItem() const { return first(m_rightBarButtonItems); }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { setRightBarButtonItems(single(std::move(item))); }
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides)
    {
        m_hidesBackButton = hides;
        changed();
    }
    // The back button's title when this item is the one below the top; the item's title without one.
    const std::optional<Foundation::String>& backButtonTitle() const { return m_backButtonTitle; }
    void setBackButtonTitle(std::optional<Foundation::String> title)
    {
        m_backButtonTitle = std::move(title);
        changed();
    }
    enum class LargeTitleDisplayMode : std::int64_t {
        automatic = 0,
        always = 1,
        never = 2,
    };
    // Whether the title shows large while the bar prefers large titles; automatic follows the item below.
    LargeTitleDisplayMode largeTitleDisplayMode() const { return m_largeTitleDisplayMode; }
    void setLargeTitleDisplayMode(LargeTitleDisplayMode mode)
    {
        m_largeTitleDisplayMode = mode;
        changed();
    }

    // The bar's look while this item is on top: standard, in a compact bar, and with the content
    // scrolled to its top edge. None falls back on the bar's own.
    const std::shared_ptr<UINavigationBarAppearance>& standardAppearance() const { return m_standardAppearance; }
    void setStandardAppearance(std::shared_ptr<UINavigationBarAppearance> appearance)
    {
        m_standardAppearance = std::move(appearance);
    }
    const std::shared_ptr<UINavigationBarAppearance>& compactAppearance() const { return m_compactAppearance; }
    void setCompactAppearance(std::shared_ptr<UINavigationBarAppearance> appearance)
    {
        m_compactAppearance = std::move(appearance);
    }
    const std::shared_ptr<UINavigationBarAppearance>& scrollEdgeAppearance() const { return m_scrollEdgeAppearance; }
    void setScrollEdgeAppearance(std::shared_ptr<UINavigationBarAppearance> appearance)
    {
        m_scrollEdgeAppearance = std::move(appearance);
    }

    // The search controller whose bar the navigation bar shows.
    const std::shared_ptr<UISearchController>& searchController() const { return m_searchController; }
    void setSearchController(std::shared_ptr<UISearchController> controller)
    {
        m_searchController = std::move(controller);
        changed();
    }
    // Whether scrolling the content hides the search bar; true at first.
    bool hidesSearchBarWhenScrolling() const { return m_hidesSearchBarWhenScrolling; }
    void setHidesSearchBarWhenScrolling(bool hides);
    // observe(\.hidesSearchBarWhenScrolling, options: [.old, .new]): the handler hears every setting
    // with the old and the new value, for as long as the returned token lives and is valid.
    std::shared_ptr<Foundation::NSKeyValueObservation> observeHidesSearchBarWhenScrolling(
        std::function<void(bool oldValue, bool newValue)> handler);

protected:
    friend Foundation::Construct;
    UINavigationItem() = default;
    explicit UINavigationItem(std::optional<Foundation::String> title)
        : m_title(std::move(title))
    {
    }

private:
    friend class UINavigationBar;
    // Tells the bar showing the item, if any, to show it anew.
    void changed();
    static std::shared_ptr<UIBarButtonItem> first(const std::vector<std::shared_ptr<UIBarButtonItem>>& items)
    {
        return items.empty() ? nullptr : items.front();
    }
    static std::vector<std::shared_ptr<UIBarButtonItem>> single(std::shared_ptr<UIBarButtonItem> item)
    {
        if (!item)
            return {};
        return {std::move(item)};
    }

    std::optional<Foundation::String> m_title;
    std::vector<std::shared_ptr<UIBarButtonItem>> m_leftBarButtonItems;
    std::vector<std::shared_ptr<UIBarButtonItem>> m_rightBarButtonItems;
    bool m_hidesBackButton = false;
    std::optional<Foundation::String> m_backButtonTitle;
    LargeTitleDisplayMode m_largeTitleDisplayMode = LargeTitleDisplayMode::automatic;
    std::weak_ptr<UINavigationBar> m_bar;
    std::shared_ptr<UINavigationBarAppearance> m_standardAppearance;
    std::shared_ptr<UINavigationBarAppearance> m_compactAppearance;
    std::shared_ptr<UINavigationBarAppearance> m_scrollEdgeAppearance;
    std::shared_ptr<UISearchController> m_searchController;
    bool m_hidesSearchBarWhenScrolling = true;
    bool m_previousHidesSearchBarWhenScrolling = true;
    std::vector<std::weak_ptr<Foundation::NSKeyValueObservation>> m_hidesSearchBarWhenScrollingObservations;
};

} // namespace UIKit
