#include "Platform/UIKit/UIBarAppearance.hpp"

#include "Platform/UIKit/UIBlurEffect.hpp"
#include "Platform/UIKit/UIColor.hpp"

namespace UIKit {

void UIBarAppearance::initialize()
{
    NSObject::initialize();
    configureWithDefaultBackground();
}

void UIBarAppearance::configureWithDefaultBackground()
{
    m_backgroundColor = nullptr;
    m_backgroundEffect = Foundation::make<UIBlurEffect>(UIBlurEffect::Style::regular);
    m_shadowColor = UIColor::separator();
}

void UIBarAppearance::configureWithOpaqueBackground()
{
    m_backgroundColor = UIColor::systemBackground();
    m_backgroundEffect = nullptr;
    m_shadowColor = UIColor::separator();
}

void UIBarAppearance::configureWithTransparentBackground()
{
    m_backgroundColor = nullptr;
    m_backgroundEffect = nullptr;
    m_shadowColor = nullptr;
}

} // namespace UIKit
