#include "Platform/UIKit/CALayer.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>

namespace UIKit {

CALayer::CALayer()
    : m_shadowColor(Foundation::make<CGColor>(0.0, 0.0, 0.0, 1.0))
{
}

CGRect CALayer::bounds() const
{
    if (auto view = m_view.lock())
        return view->bounds();
    return m_bounds;
}

void CALayer::setBounds(const CGRect& bounds)
{
    if (auto view = m_view.lock())
        return view->setBounds(bounds);
    m_bounds = bounds;
}

CGRect CALayer::frame() const
{
    if (auto view = m_view.lock())
        return view->frame();
    return {m_position.x - m_bounds.size.width / 2, m_position.y - m_bounds.size.height / 2, m_bounds.size.width,
            m_bounds.size.height};
}

void CALayer::setFrame(const CGRect& frame)
{
    if (auto view = m_view.lock())
        return view->setFrame(frame);
    CGRect standard = frame.standardized();
    m_position = {standard.midX(), standard.midY()};
    m_bounds.size = standard.size;
}

void CALayer::addSublayer(const std::shared_ptr<CALayer>& layer)
{
    insertSublayer(layer, m_sublayers.size());
}

void CALayer::insertSublayer(const std::shared_ptr<CALayer>& layer, std::size_t at)
{
    Foundation::precondition(layer != nullptr && layer.get() != this, "A layer cannot be its own sublayer");
    auto keep = layer; // its old superlayer may hold the last reference
    keep->removeFromSuperlayer();
    m_sublayers.insert(m_sublayers.begin() + static_cast<std::ptrdiff_t>(std::min(at, m_sublayers.size())), keep);
    keep->m_superlayer = sharedSelf(this);
}

void CALayer::removeFromSuperlayer()
{
    auto parent = m_superlayer.lock();
    if (!parent)
        return;
    m_superlayer.reset();
    std::erase_if(parent->m_sublayers, [this](const std::shared_ptr<CALayer>& layer) { return layer.get() == this; });
}

void CALayer::render(UIGraphicsImageRendererContext& in) const
{
    if (!m_backgroundColor)
        return;
    auto color = Foundation::make<UIColor>(m_backgroundColor->red(), m_backgroundColor->green(),
                                           m_backgroundColor->blue(), m_backgroundColor->alpha());
    in.setFillColor(*color);
    in.fill(bounds());
}

} // namespace UIKit
