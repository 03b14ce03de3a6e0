#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.hpp"

#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SafariStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SystemStepsV.hpp"

#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

AutoFillVEnableStepsV::AutoFillVEnableStepsV()
    : UIView(UIKit::CGRect::zero())
{
}

void AutoFillVEnableStepsV::initialize()
{
    UIView::initialize();
    m_systemStepsV = Foundation::make<SystemStepsV>();
    m_safariStepsV = Foundation::make<SafariStepsV>();
    setAccessibilityIdentifier(Foundation::String("EnableStepsV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(
        UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 32);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    stack->addArrangedSubview(m_systemStepsV);
    stack->addArrangedSubview(m_safariStepsV);
}

} // namespace Corvendale
