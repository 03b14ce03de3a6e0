#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <memory>

namespace UIKit {

class UIBlurEffect;
class UIColor;

// What a bar's background looks like; recorded, as nothing is drawn.
class UIBarAppearance : public Foundation::NSObject {
public:
    // The platform's translucent material: a regular blur with a separator line as shadow.
    virtual void configureWithDefaultBackground();
    // The system background colour with a separator line as shadow.
    virtual void configureWithOpaqueBackground();
    // No background and no shadow.
    virtual void configureWithTransparentBackground();

    const std::shared_ptr<UIColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { m_backgroundColor = std::move(color); }
    const std::shared_ptr<UIBlurEffect>& backgroundEffect() const { return m_backgroundEffect; }
    void setBackgroundEffect(std::shared_ptr<UIBlurEffect> effect) { m_backgroundEffect = std::move(effect); }
    const std::shared_ptr<UIColor>& shadowColor() const { return m_shadowColor; }
    void setShadowColor(std::shared_ptr<UIColor> color) { m_shadowColor = std::move(color); }

protected:
    friend Foundation::Construct;
    // init(): configured with the default background.
    UIBarAppearance() = default;
    void initialize() override;

private:
    std::shared_ptr<UIColor> m_backgroundColor;
    std::shared_ptr<UIBlurEffect> m_backgroundEffect;
    std::shared_ptr<UIColor> m_shadowColor;
};

} // namespace UIKit
