#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork {

PresentationSource PresentationSource::barButtonItem(std::shared_ptr<UIKit::UIBarButtonItem> item)
{
    Foundation::precondition(item != nullptr, "A pop-over cannot be anchored on a null bar-button item");
    return PresentationSource(BarButtonItem {std::move(item)});
}

PresentationSource PresentationSource::source(std::shared_ptr<UIKit::UIView> view, const UIKit::CGRect& rect)
{
    Foundation::precondition(view != nullptr, "A pop-over cannot be anchored on a null view");
    return PresentationSource(Source {std::move(view), rect});
}

PresentationSource PresentationSource::view(const std::shared_ptr<UIKit::UIView>& view)
{
    Foundation::precondition(view != nullptr, "A pop-over cannot be anchored on a null view");
    return source(view, view->bounds());
}

} // namespace Basalwork
