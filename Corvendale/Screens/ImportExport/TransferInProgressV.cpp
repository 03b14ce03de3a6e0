#include "Corvendale/Screens/ImportExport/TransferInProgressV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/UIActivityIndicatorView.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIProgressView.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

TransferInProgressV::TransferInProgressV(Foundation::String identifier)
    : UIView(UIKit::CGRect::zero())
    , m_identifier(std::move(identifier))
{
}

void TransferInProgressV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_activityIndicator = Foundation::make<UIKit::UIActivityIndicatorView>();
    m_progressView = Foundation::make<UIKit::UIProgressView>();
    setAccessibilityIdentifier(m_identifier);
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 36);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_activityIndicator);
    m_progressView->setTintColor(Shared::UIColors::primaryTint());
    m_progressView->setAccessibilityIdentifier(Foundation::String("ProgressView"));
    stack->addArrangedSubview(m_progressView);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void TransferInProgressV::update(const std::optional<InProgress>& config)
{
    if (config) {
        m_titleLabel->setText(config->titleText);
        m_activityIndicator->startAnimating();
        if (m_progressView->observedProgress() != config->progress)
            m_progressView->setObservedProgress(config->progress);
    } else {
        m_activityIndicator->stopAnimating();
    }
    Basalwork::setVisibilityAndAlpha(*m_progressView, config.has_value());
}

void TransferInProgressV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title2(), false)));
}

} // namespace Corvendale
