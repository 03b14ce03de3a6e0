#pragma once

#include "Basalwork/Interface/Gradient.hpp"

#include "Platform/UIKit/CAGradientLayer.hpp"
#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIImageView.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <concepts>
#include <memory>
#include <utility>

namespace Basalwork {

// Paints a gradient behind a view's content, clipped to the layer's rounded corners. The gradient is a
// tiny image stretched over the view by an image view at the back, so resizing makes no new image. The
// colours are resolved when the image is made; the owner sets `gradient` again to follow a change of
// appearance.
template <std::derived_from<UIKit::UIView> Base>
class RoundedGradientPainting : public Base {
public:
    virtual Gradient gradient() const { return m_gradient; }
    virtual void setGradient(Gradient gradient)
    {
        m_gradient = std::move(gradient);
        m_gradientImageView->setImage(makeGradientImage());
    }

    const std::shared_ptr<UIKit::UIImageView>& gradientImageView() const { return m_gradientImageView; }

protected:
    template <class... Args>
    explicit RoundedGradientPainting(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
    }

    void initialize() override
    {
        Base::initialize();
        setupView();
    }

private:
    void setupView()
    {
        // Once only: a second image view would paint over the first.
        if (m_isViewSetup)
            return;
        m_isViewSetup = true;
        this->layer()->setMasksToBounds(true);
        m_gradientImageView->setContentMode(UIKit::UIView::ContentMode::scaleToFill);
        m_gradientImageView->setTranslatesAutoresizingMaskIntoConstraints(true);
        m_gradientImageView->setAutoresizingMask(UIKit::UIView::AutoresizingMask::flexibleWidth() |
                                                 UIKit::UIView::AutoresizingMask::flexibleHeight());
        m_gradientImageView->setIsUserInteractionEnabled(false);
        m_gradientImageView->setFrame(this->bounds());
        // Added first, so it lies behind every subview added later.
        this->addSubview(m_gradientImageView);
        m_gradientImageView->setImage(makeGradientImage());
    }

    // One point square at the screen's scale. Our renderer works at scale 1, so the point is given its
    // pixels as size: a single pixel would keep only the middle colour and lose the gradient.
    std::shared_ptr<UIKit::UIImage> makeGradientImage() const
    {
        UIKit::CGFloat scale = UIKit::UIScreen::main()->scale();
        auto renderer = Foundation::make<UIKit::UIGraphicsImageRenderer>(UIKit::CGSize {scale, scale});
        auto traits = this->traitCollection();
        return renderer->image([&](UIKit::UIGraphicsImageRendererContext& context) {
            auto layer = Foundation::make<UIKit::CAGradientLayer>();
            layer->setBounds(renderer->bounds());
            auto gradient = this->gradient();
            layer->setColors({Foundation::make<UIKit::CGColor>(*gradient.top(), traits),
                              Foundation::make<UIKit::CGColor>(*gradient.bottom(), traits)});
            layer->render(context);
        });
    }

    Gradient m_gradient = Gradient::clear();
    std::shared_ptr<UIKit::UIImageView> m_gradientImageView = Foundation::make<UIKit::UIImageView>();
    bool m_isViewSetup = false;
};

} // namespace Basalwork
