#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <variant>

namespace Basalwork {

// Where a pop-over or action sheet is anchored: on a bar-button item, or on a rectangle in a view's
// coordinates. A value that keeps its item or view alive.
class PresentationSource : public Foundation::Enumeration<PresentationSource> {
public:
    struct BarButtonItem {
        std::shared_ptr<UIKit::UIBarButtonItem> item;
    };
    struct Source {
        std::shared_ptr<UIKit::UIView> view;
        UIKit::CGRect rect;
    };
    using Case = std::variant<BarButtonItem, Source>;

    static PresentationSource barButtonItem(std::shared_ptr<UIKit::UIBarButtonItem> item);
    static PresentationSource source(std::shared_ptr<UIKit::UIView> view, const UIKit::CGRect& rect);
    // The whole view, as its bounds are now: a later layout does not move the anchor.
    static PresentationSource view(const std::shared_ptr<UIKit::UIView>& view);

    const Case& value() const { return m_case; }

private:
    explicit PresentationSource(Case value)
        : m_case(std::move(value))
    {
    }

    Case m_case;
};

} // namespace Basalwork
