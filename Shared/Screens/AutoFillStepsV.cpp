#include "Shared/Screens/AutoFillStepsV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <string>

namespace Shared {

AutoFillStepsV::AutoFillStepsV(std::vector<Foundation::String> steps)
    : UIView(UIKit::CGRect::zero())
    , m_steps(std::move(steps))
{
}

void AutoFillStepsV::initialize()
{
    UIView::initialize();
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(
        UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 8);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    int number = 0;
    for (const auto& step : m_steps) {
        auto label = Foundation::make<UIKit::UILabel>();
        label->setText(Foundation::String(std::to_string(++number) + ". " + step.utf8()));
        label->setTextColor(UIColors::primaryTint());
        label->setNumberOfLines(0);
        Basalwork::registerForPreferredContentSizeCategoryChanges(label);
        stack->addArrangedSubview(label);
        m_stepLabels.push_back(label);
    }
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void AutoFillStepsV::update(const Settings::Appearance& appearance)
{
    for (const auto& label : m_stepLabels)
        label->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Shared
