#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.hpp"

#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.StepV.hpp"

#include "Shared/Model/Global.hpp"
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

namespace Corvendale {

using Foundation::String;

SafeForInspectionVInstructionsV::SafeForInspectionVInstructionsV()
    : UIView(UIKit::CGRect::zero())
{
}

void SafeForInspectionVInstructionsV::initialize()
{
    UIView::initialize();
    const auto product = Shared::Global::corvendale();
    const auto mode = Shared::Global::SafeForInspection::mode();
    const auto password = Shared::Global::SafeForInspection::password();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    const std::pair<String, String> steps[] {
        {"1. Mark items as \"safe for inspection\":",
         "For each item you want to be visible while in " + mode + ", select Edit and turn on the \"Mark as safe for inspection\" switch."},
        {"2. Force " + product + " to require Master Password on next unlock:", "Select Settings (gear icon) -> Authentication & Security -> Lock Now."},
        {"3. Enter " + mode + ":", "Unlock " + product + " using your " + password + " instead of your Master Password."},
        {"4. Exit " + mode + ":", "Unlock " + product + " using your Master Password."},
    };
    for (const auto& [title, message] : steps)
        m_stepVs.push_back(Foundation::make<StepV>(title, message));

    setAccessibilityIdentifier(String("InstructionsV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 32);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setText("How to use " + mode);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    for (const auto& step : m_stepVs)
        stack->addArrangedSubview(step);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SafeForInspectionVInstructionsV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::largeTitle(), false)));
}

} // namespace Corvendale
