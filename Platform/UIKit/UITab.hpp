#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

class UIImage;
class UIViewController;

// One tab of a tab bar controller; its controller is made on first need and kept.
class UITab : public Foundation::NSObject {
public:
    using ViewControllerProvider = std::function<std::shared_ptr<UIViewController>(const UITab&)>;

    const Foundation::String& title() const { return m_title; }
    const std::shared_ptr<UIImage>& image() const { return m_image; }
    const Foundation::String& identifier() const { return m_identifier; }
    const std::shared_ptr<UIViewController>& viewController() const
    {
        if (!m_viewController && m_viewControllerProvider)
            m_viewController = m_viewControllerProvider(*this);
        return m_viewController;
    }

protected:
    friend Foundation::Construct;
    // init(title:image:identifier:viewControllerProvider:)
    UITab(Foundation::String title, std::shared_ptr<UIImage> image, Foundation::String identifier,
          ViewControllerProvider viewControllerProvider)
        : m_title(std::move(title))
        , m_image(std::move(image))
        , m_identifier(std::move(identifier))
        , m_viewControllerProvider(std::move(viewControllerProvider))
    {
    }

private:
    Foundation::String m_title;
    std::shared_ptr<UIImage> m_image;
    Foundation::String m_identifier;
    ViewControllerProvider m_viewControllerProvider;
    mutable std::shared_ptr<UIViewController> m_viewController;
};

} // namespace UIKit
