#include "Corvendale/Screens/Settings/AutoFillV.TitledStepsV.hpp"

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

AutoFillVTitledStepsV::AutoFillVTitledStepsV(Foundation::String identifier, Foundation::String title, std::shared_ptr<UIKit::UIView> stepsV)
    : UIView(UIKit::CGRect::zero())
    , m_identifier(std::move(identifier))
    , m_title(std::move(title))
    , m_stepsV(std::move(stepsV))
{
}

void AutoFillVTitledStepsV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(m_identifier);
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(
        UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 16);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setText(m_title);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_stepsV);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void AutoFillVTitledStepsV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
}

} // namespace Corvendale
