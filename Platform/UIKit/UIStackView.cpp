#include "Platform/UIKit/UIStackView.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>

namespace UIKit {

UIStackView::UIStackView()
    : m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

UIStackView::UIStackView(const CGRect& frame)
    : UIView(frame)
    , m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

UIStackView::UIStackView(Foundation::NSCoder& coder)
    : UIView(coder)
    , m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

std::vector<std::shared_ptr<UIView>> UIStackView::arrangedSubviews() const
{
    std::vector<std::shared_ptr<UIView>> result;
    for (const auto& view : m_arrangedSubviews)
        if (view->superview().get() == this)
            result.push_back(view);
    return result;
}

void UIStackView::addArrangedSubview(const std::shared_ptr<UIView>& view)
{
    Foundation::precondition(view != nullptr, "Cannot arrange a null view");
    std::erase_if(m_arrangedSubviews, [&](const std::shared_ptr<UIView>& arranged) {
        return arranged == view || arranged->superview().get() != this;
    });
    m_arrangedSubviews.push_back(view);
    addSubview(view);
}

void UIStackView::removeArrangedSubview(const std::shared_ptr<UIView>& view)
{
    std::erase(m_arrangedSubviews, view);
}

} // namespace UIKit
