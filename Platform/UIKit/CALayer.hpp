#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CACornerMask.hpp"
#include "Platform/UIKit/CATransform3D.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class CGColor;
class CGPath;
class UIGraphicsImageRendererContext;
class UIView;

// What a view draws with. Nothing reaches a screen, so borders, corners and shadows are recorded values;
// only `render` paints. The layer of a view shares the view's geometry: its bounds and frame are the
// view's, read and written through it.
class CALayer : public Foundation::NSObject {
public:
    CGRect bounds() const;
    void setBounds(const CGRect& bounds);
    CGRect frame() const;
    void setFrame(const CGRect& frame);
    CATransform3D transform() const { return m_transform; }
    void setTransform(const CATransform3D& transform) { m_transform = transform; }
    // Applied to the sublayers, as a perspective for 3-D turns; recorded only.
    CATransform3D sublayerTransform() const { return m_sublayerTransform; }
    void setSublayerTransform(const CATransform3D& transform) { m_sublayerTransform = transform; }
    // The layer as it is shown now. Animations apply their end state at once, so that is the layer itself.
    std::shared_ptr<const CALayer> presentation() const
    {
        return std::static_pointer_cast<const CALayer>(shared_from_this());
    }

    const std::shared_ptr<CGColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<CGColor> color) { m_backgroundColor = std::move(color); }

    CGFloat borderWidth() const { return m_borderWidth; }
    void setBorderWidth(CGFloat width) { m_borderWidth = width; }
    // None draws no border, whatever the width.
    const std::shared_ptr<CGColor>& borderColor() const { return m_borderColor; }
    void setBorderColor(std::shared_ptr<CGColor> color) { m_borderColor = std::move(color); }
    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius) { m_cornerRadius = radius; }
    CACornerMask maskedCorners() const { return m_maskedCorners; }
    void setMaskedCorners(CACornerMask corners) { m_maskedCorners = corners; }
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { m_masksToBounds = masks; }

    // A new layer casts an invisible (opacity 0) black shadow 3 points up with radius 3.
    const std::shared_ptr<CGColor>& shadowColor() const { return m_shadowColor; }
    void setShadowColor(std::shared_ptr<CGColor> color) { m_shadowColor = std::move(color); }
    float shadowOpacity() const { return m_shadowOpacity; }
    void setShadowOpacity(float opacity) { m_shadowOpacity = opacity; }
    CGSize shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(CGSize offset) { m_shadowOffset = offset; }
    CGFloat shadowRadius() const { return m_shadowRadius; }
    void setShadowRadius(CGFloat radius) { m_shadowRadius = radius; }
    // None derives the shadow from the layer's content.
    const std::shared_ptr<CGPath>& shadowPath() const { return m_shadowPath; }
    void setShadowPath(std::shared_ptr<CGPath> path) { m_shadowPath = std::move(path); }

    // Only the mask's shape would show the layer; recorded.
    const std::shared_ptr<CALayer>& mask() const { return m_mask; }
    void setMask(std::shared_ptr<CALayer> mask) { m_mask = std::move(mask); }

    // Sublayers are kept back to front; a layer has one superlayer at a time.
    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return m_sublayers; }
    std::shared_ptr<CALayer> superlayer() const { return m_superlayer.lock(); }
    void addSublayer(const std::shared_ptr<CALayer>& layer);
    void insertSublayer(const std::shared_ptr<CALayer>& layer, std::size_t at);
    void removeFromSuperlayer();

    // The view whose layer this is; none for a free-standing layer.
    std::shared_ptr<UIView> delegate() const { return m_view.lock(); }

    // Paints the layer's own content into the context, in the context's coordinates: the background
    // colour over the bounds. Sublayers are not painted.
    virtual void render(UIGraphicsImageRendererContext& in) const;

protected:
    friend Foundation::Construct;
    CALayer();

private:
    friend class UIView;

    std::weak_ptr<UIView> m_view;
    CGRect m_bounds;
    CGPoint m_position;
    CATransform3D m_transform;
    CATransform3D m_sublayerTransform;
    std::shared_ptr<CGColor> m_backgroundColor;
    CGFloat m_borderWidth = 0;
    std::shared_ptr<CGColor> m_borderColor;
    CGFloat m_cornerRadius = 0;
    CACornerMask m_maskedCorners = CACornerMask::all();
    bool m_masksToBounds = false;
    std::shared_ptr<CGColor> m_shadowColor;
    float m_shadowOpacity = 0;
    CGSize m_shadowOffset {0, -3};
    CGFloat m_shadowRadius = 3;
    std::shared_ptr<CGPath> m_shadowPath;
    std::shared_ptr<CALayer> m_mask;
    std::vector<std::shared_ptr<CALayer>> m_sublayers;
    std::weak_ptr<CALayer> m_superlayer;
};

} // namespace UIKit
