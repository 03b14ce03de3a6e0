#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.StepV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <tuple>
#include <vector>

namespace Corvendale {

SafeForInspectionVInstructionsVStepV::SafeForInspectionVInstructionsVStepV(Foundation::String title, Foundation::String message)
    : UIView(UIKit::CGRect::zero())
    , m_title(std::move(title))
    , m_message(std::move(message))
{
}

void SafeForInspectionVInstructionsVStepV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_messageLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(Foundation::String("StepV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 12);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    for (auto [label, text, color] : std::vector {std::tuple {m_titleLabel, m_title, Shared::UIColors::primaryTint()},
                                                  std::tuple {m_messageLabel, m_message, Shared::UIColors::secondaryTint()}}) {
        label->setText(text);
        label->setTextColor(color);
        label->setNumberOfLines(0);
        Basalwork::registerForPreferredContentSizeCategoryChanges(label);
        stack->addArrangedSubview(label);
    }
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SafeForInspectionVInstructionsVStepV::update(const Shared::Settings::Appearance& appearance)
{
    const auto& title3 = UIKit::UIFont::TextStyle::title3();
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(title3, false)));
    m_messageLabel->setFont(appearance.font(title3, false));
}

} // namespace Corvendale
