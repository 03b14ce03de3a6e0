#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

// What a navigation bar shows while its controller is on top: recorded only.
class UINavigationItem : public Foundation::NSObject {
public:
    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }
    const std::vector<std::shared_ptr<UIBarButtonItem>>& leftBarButtonItems() const { return m_leftBarButtonItems; }
    void setLeftBarButtonItems(std::vector<std::shared_ptr<UIBarButtonItem>> items) { m_leftBarButtonItems = std::move(items); }
    const std::vector<std::shared_ptr<UIBarButtonItem>>& rightBarButtonItems() const { return m_rightBarButtonItems; }
    void setRightBarButtonItems(std::vector<std::shared_ptr<UIBarButtonItem>> items) { m_rightBarButtonItems = std::move(items); }
    std::shared_ptr<UIBarButtonItem> leftBarButtonItem() const { return first(m_leftBarButtonItems); }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { m_leftBarButtonItems = single(std::move(item)); }
    std::shared_ptr<UIBarButtonItem> rightBarButtonItem() const { return first(m_rightBarButtonItems); }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { m_rightBarButtonItems = single(std::move(item)); }
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides) { m_hidesBackButton = hides; }

protected:
    friend Foundation::Construct;
    UINavigationItem() = default;
    explicit UINavigationItem(std::optional<Foundation::String> title)
        : m_title(std::move(title))
    {
    }

private:
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
};

} // namespace UIKit
