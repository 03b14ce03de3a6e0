#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.StepV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

AutoFillVNotAvailableVStepV::AutoFillVNotAvailableVStepV(Foundation::String number, Foundation::String instruction)
    : UIView(UIKit::CGRect::zero())
    , m_number(std::move(number))
    , m_instruction(std::move(instruction))
{
}

void AutoFillVNotAvailableVStepV::initialize()
{
    using Axis = UIKit::NSLayoutConstraint::Axis;
    UIView::initialize();
    m_numberLabel = Foundation::make<UIKit::UILabel>();
    m_instructionLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(Foundation::String("StepV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto outer = Basalwork::UIStackViews::withAxis(Axis::horizontal, UIKit::UIStackView::Alignment::center, UIKit::UIStackView::Distribution::fill, 20);
    Basalwork::addSubviewWithEdgeContraints(*this, outer);
    auto line
        = Basalwork::UIStackViews::withAxis(Axis::horizontal, UIKit::UIStackView::Alignment::firstBaseline, UIKit::UIStackView::Distribution::fill, 8);
    outer->addArrangedSubview(line);

    m_numberLabel->setText(m_number);
    m_numberLabel->setContentHuggingPriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
    m_numberLabel->setContentCompressionResistancePriority(UIKit::UILayoutPriority {760}, Axis::horizontal);
    m_instructionLabel->setText(m_instruction);
    // Every font is one cell high on the terminal, so a long step cannot shrink onto its line: it wraps.
    m_instructionLabel->setNumberOfLines(0);
    m_instructionLabel->setContentCompressionResistancePriority(UIKit::UILayoutPriority {760}, Axis::vertical);
    for (const auto& label : {m_numberLabel, m_instructionLabel}) {
        label->setTextColor(Shared::UIColors::primaryTint());
        Basalwork::registerForPreferredContentSizeCategoryChanges(label);
        line->addArrangedSubview(label);
    }
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void AutoFillVNotAvailableVStepV::update(const Shared::Settings::Appearance& appearance)
{
    const auto font = Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    m_numberLabel->setFont(font);
    m_instructionLabel->setFont(font);
}

} // namespace Corvendale
