#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace UIKit {

class UIImage;

// An entry of a menu: a submenu, a command or an action.
class UIMenuElement : public Foundation::NSObject {
public:
    struct Attributes;
    enum class State : std::int64_t {
        off = 0,
        on = 1,
        mixed = 2,
    };

    const Foundation::String& title() const { return m_title; }
    const std::optional<Foundation::String>& subtitle() const { return m_subtitle; }
    void setSubtitle(std::optional<Foundation::String> subtitle) { m_subtitle = std::move(subtitle); }
    const std::shared_ptr<UIImage>& image() const { return m_image; }

protected:
    friend Foundation::Construct;
    explicit UIMenuElement(Foundation::String title)
        : m_title(std::move(title))
    {
    }
    void setElementTitle(Foundation::String title) { m_title = std::move(title); }
    void setElementImage(std::shared_ptr<UIImage> image) { m_image = std::move(image); }

private:
    Foundation::String m_title;
    std::optional<Foundation::String> m_subtitle;
    std::shared_ptr<UIImage> m_image;
};

} // namespace UIKit

#include "Platform/UIKit/UIMenuElement.Attributes.hpp"
