#include "Basalwork/Interface/BubbleView.hpp"

#include "Basalwork/Interface/NSLayoutConstraint.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/CAGradientLayer.hpp"
#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"
#include "Platform/UIKit/UIScreen.hpp"

namespace Basalwork {



BubbleView::BubbleView(std::shared_ptr<UIKit::UIView> headingView, const LayoutInsets& headingViewInsets,
                       std::shared_ptr<UIKit::UIView> bodyView, const LayoutInsets& bodyViewInsets)
    : BorderShadowableControl(UIKit::CGRect::zero())
    , m_initialHeadingView(std::move(headingView))
    , m_initialHeadingViewInsets(headingViewInsets)
    , m_initialBodyView(std::move(bodyView))
    , m_initialBodyViewInsets(bodyViewInsets)
{
}

BubbleView::BubbleView(const Foundation::NSCoder&)
{
    Foundation::fatalError();
}

void BubbleView::initialize()
{
    BorderShadowableControl::initialize();
    auto heading = std::move(m_initialHeadingView);
    auto body = std::move(m_initialBodyView);
    setupViews(heading, m_initialHeadingViewInsets, body, m_initialBodyViewInsets);
    m_gradientImageView->setImage(makeGradientImage());
}

void BubbleView::setupViews(const std::shared_ptr<UIKit::UIView>& headingView, const LayoutInsets& headingViewInsets,
                            const std::shared_ptr<UIKit::UIView>& bodyView, const LayoutInsets& bodyViewInsets)
{
    setIsExclusiveTouch(true);
    setBackgroundColor(UIKit::UIColor::clear());
    modifyBorder([](Border& border) { border.cornerRadius = 15.0; });
    layer()->setMasksToBounds(true);

    m_gradientImageView->setContentMode(UIKit::UIView::ContentMode::scaleToFill);
    m_gradientImageView->setIsUserInteractionEnabled(false);
    m_gradientImageView->setFrame(bounds());
    insertSubview(m_gradientImageView, 0);
    NSLayoutConstraints::constrainEdges(*m_gradientImageView, *this, LayoutInsets::zero());

    m_headingContainer->setAccessibilityIdentifier(Foundation::String("headingContainer"));
    addSubview(m_headingContainer);
    m_headingEdgeConstraints = NSLayoutConstraints::constrainEdges(*m_headingContainer, *this, LayoutInsets::zero());
    // Expanded at first: the body's bottom gives the bubble its height.
    m_headingEdgeConstraints->bottom()->setIsActive(false);

    m_headingContainer->addSubview(headingView);
    NSLayoutConstraints::constrainEdges(*headingView, *m_headingContainer, headingViewInsets);

    // On the bubble, not in the heading, so touches on the body send no control events.
    addSubview(bodyView);
    m_bodyViewEdgeConstraints = NSLayoutConstraints::constrainEdges(*bodyView, *this, bodyViewInsets);
    m_bodyViewEdgeConstraints->top()->setIsActive(false);
    // Below the heading's bottom once collapsed, so the heading wins and the body is cut off.
    m_bodyViewEdgeConstraints->bottom()->setPriority(UIKit::UILayoutPriority {500});

    m_bodyViewTopToHeadingContainerBottomConstraint =
        bodyView->topAnchor().constraintEqualTo(m_headingContainer->bottomAnchor(), bodyViewInsets.top());
    m_bodyViewTopToHeadingContainerBottomConstraint->setIsActive(true);
}

EdgeConstraints BubbleView::bodyViewConstraints() const
{
    return {m_bodyViewEdgeConstraints->leading(), m_bodyViewEdgeConstraints->trailing(),
            m_bodyViewTopToHeadingContainerBottomConstraint, m_bodyViewEdgeConstraints->bottom()};
}

void BubbleView::setGradient(Gradient gradient)
{
    m_gradient = std::move(gradient);
    m_gradientImageView->setImage(makeGradientImage());
}

void BubbleView::modifyGradient(const std::function<void(Gradient&)>& change)
{
    Gradient changed = gradient();
    change(changed);
    setGradient(std::move(changed));
}

bool BubbleView::isCollapsed() const
{
    return m_headingEdgeConstraints->bottom()->isActive();
}

void BubbleView::setIsCollapsed(bool collapsed)
{
    m_headingEdgeConstraints->bottom()->setIsActive(collapsed);
}

void BubbleView::addAction(std::function<void()> handler, UIKit::UIControl::Event events)
{
    m_headingContainer->addAction(std::move(handler), events);
}

// One point square at the screen's scale, stretched over the bubble by the image view. Our renderer
// works at scale 1, so the point gets its pixels as size: a single pixel would lose the gradient.
std::shared_ptr<UIKit::UIImage> BubbleView::makeGradientImage() const
{
    UIKit::CGFloat scale = UIKit::UIScreen::main()->scale();
    auto renderer = Foundation::make<UIKit::UIGraphicsImageRenderer>(UIKit::CGSize {scale, scale});
    auto traits = traitCollection();
    auto gradient = this->gradient();
    return renderer->image([&](UIKit::UIGraphicsImageRendererContext& context) {
        auto layer = Foundation::make<UIKit::CAGradientLayer>();
        layer->setBounds(renderer->bounds());
        layer->setColors({Foundation::make<UIKit::CGColor>(*gradient.top(), traits),
                          Foundation::make<UIKit::CGColor>(*gradient.bottom(), traits)});
        layer->render(context);
    });
}

} // namespace Basalwork
