#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace UIKit {

class UILayoutGuide;

// Lines up its arranged subviews along an axis with constraints of its own, made again whenever the
// arrangement changes: end to end with `spacing` between them and filling the stack along the axis as
// the distribution says, aligned across it as the alignment says. Hidden arranged views take no room.
// The stack view is as large as what it holds unless constraints say otherwise.
class UIStackView : public UIView {
public:
    enum class Alignment : std::int64_t;
    enum class Distribution : std::int64_t;

    NSLayoutConstraint::Axis axis() const { return m_axis; }
    void setAxis(NSLayoutConstraint::Axis axis);
    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);
    Distribution distribution() const { return m_distribution; }
    void setDistribution(Distribution distribution);
    CGFloat spacing() const { return m_spacing; }
    void setSpacing(CGFloat spacing);

    // A view removed from the stack view's subviews is no longer arranged, as on the platform.
    std::vector<std::shared_ptr<UIView>> arrangedSubviews() const;
    // Also makes the view a subview placed by constraints; adding it again moves it to the end.
    void addArrangedSubview(const std::shared_ptr<UIView>& view);
    // The view stays a subview, as on the platform.
    void removeArrangedSubview(const std::shared_ptr<UIView>& view);

    void updateConstraints() override;
    void willRemoveSubview(const std::shared_ptr<UIView>& subview) override;

protected:
    friend Foundation::Construct;
    UIStackView();
    explicit UIStackView(const CGRect& frame);
    explicit UIStackView(Foundation::NSCoder& coder);

private:
    void subviewVisibilityDidChange(UIView& subview) override;
    void arrangementDidChange();

    NSLayoutConstraint::Axis m_axis;
    Alignment m_alignment;
    Distribution m_distribution;
    CGFloat m_spacing = 0;
    std::vector<std::shared_ptr<UIView>> m_arrangedSubviews;
    std::vector<std::shared_ptr<NSLayoutConstraint>> m_arrangement;
    std::vector<std::shared_ptr<UILayoutGuide>> m_spacers;
};

} // namespace UIKit

#include "Platform/UIKit/NSLayoutConstraint.Axis.hpp"
#include "Platform/UIKit/UIStackView.Alignment.hpp"
#include "Platform/UIKit/UIStackView.Distribution.hpp"
