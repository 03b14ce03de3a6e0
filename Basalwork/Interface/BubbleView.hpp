#pragma once

#include "Basalwork/Interface/BorderShadowableControl.hpp"
#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/Gradient.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"

#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/UIImageView.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace Basalwork {

// A rounded bubble with a gradient background holding a heading and a body. Collapsed, it ends at the
// heading's bottom and its clipping cuts the body off. Control events come only from the heading.
class BubbleView : public BorderShadowableControl {
public:
    // The body's leading, trailing, top (to the heading's bottom) and bottom constraints; owners change
    // their constants to adjust the body's margins.
    EdgeConstraints bodyViewConstraints() const;

    virtual Gradient gradient() const { return m_gradient; }
    virtual void setGradient(Gradient gradient);
    void modifyGradient(const std::function<void(Gradient&)>& change);

    virtual bool isCollapsed() const;
    virtual void setIsCollapsed(bool collapsed);
    // Read and written through `isCollapsed`, so an override of that governs both.
    bool isExpanded() const { return !isCollapsed(); }
    void setIsExpanded(bool expanded) { setIsCollapsed(!expanded); }

    // Actions go to the heading, never to the bubble itself.
    void addAction(std::function<void()> handler, UIKit::UIControl::Event events) override;

protected:
    friend Foundation::Construct;
    BubbleView(std::shared_ptr<UIKit::UIView> headingView, const LayoutInsets& headingViewInsets,
               std::shared_ptr<UIKit::UIView> bodyView, const LayoutInsets& bodyViewInsets);
    // init(coder:): never made from an archive.
    explicit BubbleView(const Foundation::NSCoder& coder);
    // Constraints need the views' own pointers, so the views are assembled once the bubble is whole.
    void initialize() override;

private:
    void setupViews(const std::shared_ptr<UIKit::UIView>& headingView, const LayoutInsets& headingViewInsets,
                    const std::shared_ptr<UIKit::UIView>& bodyView, const LayoutInsets& bodyViewInsets);
    std::shared_ptr<UIKit::UIImage> makeGradientImage() const;

    std::shared_ptr<UIKit::UIImageView> m_gradientImageView = Foundation::make<UIKit::UIImageView>();
    std::shared_ptr<UIKit::UIControl> m_headingContainer = Foundation::make<UIKit::UIControl>();
    std::optional<EdgeConstraints> m_headingEdgeConstraints;
    std::optional<EdgeConstraints> m_bodyViewEdgeConstraints;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_bodyViewTopToHeadingContainerBottomConstraint;
    Gradient m_gradient = Gradient::clear();

    // Held from construction until `initialize` assembles them.
    std::shared_ptr<UIKit::UIView> m_initialHeadingView;
    LayoutInsets m_initialHeadingViewInsets = LayoutInsets::zero();
    std::shared_ptr<UIKit::UIView> m_initialBodyView;
    LayoutInsets m_initialBodyViewInsets = LayoutInsets::zero();
};

} // namespace Basalwork
