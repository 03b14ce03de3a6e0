#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>

namespace UIKit {

class UIImage;

// What a tab bar shows for one controller: recorded only.
class UITabBarItem : public Foundation::NSObject {
public:
    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }
    const std::shared_ptr<UIImage>& image() const { return m_image; }
    void setImage(std::shared_ptr<UIImage> image) { m_image = std::move(image); }
    const std::optional<Foundation::String>& badgeValue() const { return m_badgeValue; }
    void setBadgeValue(std::optional<Foundation::String> value) { m_badgeValue = std::move(value); }

protected:
    friend Foundation::Construct;
    UITabBarItem() = default;
    UITabBarItem(std::optional<Foundation::String> title, std::shared_ptr<UIImage> image)
        : m_title(std::move(title))
        , m_image(std::move(image))
    {
    }

private:
    std::optional<Foundation::String> m_title;
    std::shared_ptr<UIImage> m_image;
    std::optional<Foundation::String> m_badgeValue;
};

} // namespace UIKit
