#include "Shared/Screens/EntryDetailsTVC.ReorderControl.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UITouch.hpp"

#include <utility>

namespace Shared {

void EntryDetailsTVCReorderControl::initialize()
{
    UILabel::initialize();
    setText(Foundation::String("≡"));
    setAccessibilityLabel(Foundation::String("Reorder"));
    setIsUserInteractionEnabled(true);
    // Only the handle drags; the rest of the row selects it.
    setContentHuggingPriority(UIKit::UILayoutPriority::required(), UIKit::NSLayoutConstraint::Axis::horizontal);
}

// The touches stop here: a drag must not also select or scroll the table.
void EntryDetailsTVCReorderControl::touchesBegan(const std::vector<std::shared_ptr<UIKit::UITouch>>&, const std::shared_ptr<UIKit::UIEvent>&)
{
    m_isDragging = true;
}

void EntryDetailsTVCReorderControl::touchesMoved(const std::vector<std::shared_ptr<UIKit::UITouch>>&, const std::shared_ptr<UIKit::UIEvent>&) { }

void EntryDetailsTVCReorderControl::touchesEnded(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>&)
{
    bool wasDragging = std::exchange(m_isDragging, false);
    if (wasDragging && !touches.empty() && onDrop)
        onDrop(*touches.front());
}

void EntryDetailsTVCReorderControl::touchesCancelled(const std::vector<std::shared_ptr<UIKit::UITouch>>&, const std::shared_ptr<UIKit::UIEvent>&)
{
    m_isDragging = false;
}

} // namespace Shared
