#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"

#include "Shared/Model/TimeStepNotifier.hpp"
#include "Shared/Screens/TimeStepView.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/UIView.hpp"
#include "Basalwork/Interface/UITraitEnvironment.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/NSLayoutXAxisAnchor.hpp"
#include "Platform/UIKit/NSLayoutYAxisAnchor.hpp"
#include "Platform/UIKit/NSString.hpp"
#include "Platform/UIKit/UIBezierPath.hpp"
#include "Platform/UIKit/UIColor.hpp"

#include <string>

namespace Corvendale {

LargeViewerV::LargeViewerV(Content content)
    : UIView(UIKit::CGRect {})
    , m_content(std::move(content))
{
}

LargeViewerV::LargeViewerV(Foundation::NSCoder& coder)
    : UIView(coder)
    , m_content(Content::text({}))
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void LargeViewerV::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(Foundation::String("LargeViewerV"));
    m_timeStepView = Foundation::make<Shared::TimeStepView>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void LargeViewerV::setup()
{
    setBackgroundColor(UIKit::UIColor::black()->withAlphaComponent(0.3));
    m_timeStepView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_timeStepView);
    m_timeStepViewCenterYConstraint = m_timeStepView->centerYAnchor().constraintEqualTo(topAnchor());
    m_timeStepViewHeightConstraint = m_timeStepView->heightAnchor().constraintEqualToConstant(30);
    UIKit::NSLayoutConstraint::activate({m_timeStepView->centerXAnchor().constraintEqualTo(centerXAnchor()), m_timeStepViewCenterYConstraint,
                                         m_timeStepViewHeightConstraint});
    Basalwork::constrain(*m_timeStepView, 1, 1, UIKit::UILayoutPriority::required());
    if (const auto* totp = m_content.as<Content::TOTP>()) {
        m_timeStepView->timeStepNotifier()->setTOTP(totp->totp);
        m_timeStepView->timeStepNotifier()->addObserver(std::dynamic_pointer_cast<Shared::TimeStepObserving>(sharedSelf(this)));
    }
}

void LargeViewerV::update(const Shared::Settings::Appearance&)
{
    setNeedsLayout();
}

void LargeViewerV::timeStepNotifierDidBeginTimeStep(Shared::TimeStepNotifier&)
{
    updateText();
}

bool LargeViewerV::isCompact() const
{
    using UIKit::UIUserInterfaceSizeClass;
    return Basalwork::horizontalSizeClass(*this) == UIUserInterfaceSizeClass::compact
        || Basalwork::verticalSizeClass(*this) == UIUserInterfaceSizeClass::compact;
}

void LargeViewerV::layoutSubviews()
{
    UIView::layoutSubviews();
    updateText();
}

void LargeViewerV::updateText()
{
    using Mode = Shared::TimeStepView::Mode;
    if (const auto* totp = m_content.as<Content::TOTP>()) {
        try {
            m_text = totp->totp.generateFormatted(Foundation::Date::now());
            m_timeStepView->setMode(Mode::running);
        } catch (const Foundation::Error&) {
            m_text = Shared::TOTP::invalidSecretKeyText();
            m_timeStepView->setMode(Mode::noCode);
        }
    } else {
        std::visit(
            [this](const auto& value) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(value)>, Content::TOTP>)
                    m_text = value.text;
            },
            m_content.value());
        m_timeStepView->setMode(Mode::noCode);
    }
    m_timeStepViewHeightConstraint->setConstant(isCompact() ? 20 : 30);
    setNeedsDisplay();
}

void LargeViewerV::draw(const UIKit::CGRect&)
{
    const auto config = makeConfig();
    // Without room for the panel only the dimmed background shows.
    if (config.contentContainerFrame.width() > 0 && config.contentContainerFrame.height() > 0) {
        Shared::UIColors::secondaryBackground()->setFill();
        Foundation::make<UIKit::UIBezierPath>(config.contentContainerFrame, isCompact() ? 25.0 : 37.0)->fill();
    }
    for (const auto& line : config.lineConfigs)
        for (const auto& cell : line.charConfigs) {
            UIKit::draw(Foundation::String(cell.character), cell.frame.origin, cell.attributes);
            if (const auto& number = cell.positionConfig)
                UIKit::draw(Foundation::String(std::to_string(number->position)), number->frame.origin, number->attributes);
        }
    if (const auto* totp = m_content.as<Content::TOTP>()) {
        const auto& frame = config.contentContainerFrame;
        const auto& margins = config.layoutMargins;
        // An invalid secret shows its text in place of a code; the countdown then sits under the lines.
        const bool underLines = totp->totp.secretKeyState() == Shared::TOTP::SecretKeyState::invalid;
        m_timeStepViewCenterYConstraint->setConstant(underLines ? frame.maxY() - margins.bottom : frame.midY());
    }
}

} // namespace Corvendale
