#include "Corvendale/Screens/ImportExport/ReportItemV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UITextView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Corvendale {

ReportItemV::ReportItemV(Foundation::String identifier, bool hasClearMessageBackground)
    : UIView(UIKit::CGRect::zero())
    , m_identifier(std::move(identifier))
    , m_hasClearMessageBackground(hasClearMessageBackground)
{
}

void ReportItemV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_messageTextView = Foundation::make<UIKit::UITextView>();
    setAccessibilityIdentifier(m_identifier);
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 12);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    m_messageTextView->setTextColor(Shared::UIColors::primaryTint());
    if (m_hasClearMessageBackground)
        m_messageTextView->setBackgroundColor(UIKit::UIColor::clear());
    m_messageTextView->setIsSelectable(true);
    m_messageTextView->setIsEditable(false);
    m_messageTextView->setIsScrollEnabled(false);
    Basalwork::removeContentInsets(*m_messageTextView);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_messageTextView);
    stack->addArrangedSubview(m_messageTextView);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void ReportItemV::update(const std::optional<Config>& config)
{
    if (config) {
        m_titleLabel->setText(config->titleText);
        m_messageTextView->setText(config->messageText.value_or(Foundation::String()));
    }
    Basalwork::setVisibilityAndAlpha(*this, config.has_value());
}

void ReportItemV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_messageTextView->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
