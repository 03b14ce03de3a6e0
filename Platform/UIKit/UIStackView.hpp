#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace UIKit {

// Lines up its arranged subviews along an axis. Nothing is laid out; the arrangement is recorded.
class UIStackView : public UIView {
public:
    enum class Alignment : std::int64_t;
    enum class Distribution : std::int64_t;

    NSLayoutConstraint::Axis axis() const { return m_axis; }
    void setAxis(NSLayoutConstraint::Axis axis) { m_axis = axis; }
    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment) { m_alignment = alignment; }
    Distribution distribution() const { return m_distribution; }
    void setDistribution(Distribution distribution) { m_distribution = distribution; }
    CGFloat spacing() const { return m_spacing; }
    void setSpacing(CGFloat spacing) { m_spacing = spacing; }

    // A view removed from the stack view's subviews is no longer arranged, as on the platform.
    std::vector<std::shared_ptr<UIView>> arrangedSubviews() const;
    // Also makes the view a subview; adding it again moves it to the end.
    void addArrangedSubview(const std::shared_ptr<UIView>& view);
    // The view stays a subview, as on the platform.
    void removeArrangedSubview(const std::shared_ptr<UIView>& view);

protected:
    friend Foundation::Construct;
    UIStackView();
    explicit UIStackView(const CGRect& frame);
    explicit UIStackView(Foundation::NSCoder& coder);

private:
    NSLayoutConstraint::Axis m_axis;
    Alignment m_alignment;
    Distribution m_distribution;
    CGFloat m_spacing = 0;
    std::vector<std::shared_ptr<UIView>> m_arrangedSubviews;
};

} // namespace UIKit

#include "Platform/UIKit/NSLayoutConstraint.Axis.hpp"
#include "Platform/UIKit/UIStackView.Alignment.hpp"
#include "Platform/UIKit/UIStackView.Distribution.hpp"
