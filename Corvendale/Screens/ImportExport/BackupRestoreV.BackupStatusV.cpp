#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupStatusV.hpp"

#include "Corvendale/Screens/ImportExport/BackupRestoreV_BackupStatusV_Delegate.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

BackupRestoreVBackupStatusV::BackupRestoreVBackupStatusV()
    : UIView(UIKit::CGRect::zero())
{
}

void BackupRestoreVBackupStatusV::initialize()
{
    UIView::initialize();
    m_actionButton = Foundation::make<Basalwork::PromotionButton>();
    m_restoreContainer = Foundation::make<UIKit::UIView>();
    m_restoreButton = Foundation::make<UIKit::UIButton>();
    setAccessibilityIdentifier(Foundation::String("BackupStatusV"));
    setBackgroundColor(UIKit::UIColor::clear());
    using Axis = UIKit::NSLayoutConstraint::Axis;
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 0);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    auto inner = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 8);
    stack->addArrangedSubview(inner);

    std::weak_ptr<BackupRestoreVBackupStatusV> weakSelf = sharedSelf(this);
    m_actionButton->setTitleText(Foundation::String(" "));
    m_actionButton->setTintColor(Shared::UIColors::primaryTint());
    m_actionButton->setCornerRadius(10);
    m_actionButton->setTitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setSubtitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setAccessibilityIdentifier(Foundation::String("BackupStatusV.ActionButton"));
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_actionButton);
    m_actionButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                if (auto delegate = self->delegate())
                    delegate->didSelectAction(*self);
        },
        UIKit::UIControl::Event::touchUpInside());
    inner->addArrangedSubview(m_actionButton);

    m_restoreContainer->setBackgroundColor(UIKit::UIColor::clear());
    m_restoreButton->setTitle(Foundation::String("Restore From Backup"), UIKit::UIControl::State::normal());
    m_restoreButton->setTintColor(Shared::UIColors::tertiaryTint());
    m_restoreButton->setAccessibilityIdentifier(Foundation::String("BackupStatusV.RestoreButton"));
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_restoreButton);
    m_restoreButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                if (auto delegate = self->delegate())
                    delegate->didSelectRestore(*self);
        },
        UIKit::UIControl::Event::touchUpInside());
    m_restoreButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_restoreContainer->addSubview(m_restoreButton);
    UIKit::NSLayoutConstraint::activate({m_restoreButton->topAnchor().constraintEqualTo(m_restoreContainer->topAnchor()),
                                         m_restoreButton->bottomAnchor().constraintEqualTo(m_restoreContainer->bottomAnchor()),
                                         m_restoreButton->centerXAnchor().constraintEqualTo(m_restoreContainer->centerXAnchor())});
    inner->addArrangedSubview(m_restoreContainer);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void BackupRestoreVBackupStatusV::update(const Config& config)
{
    m_actionButton->setTitleText(config.actionTitleText);
    m_actionButton->setSubtitleText(config.actionSubtitleText);
    m_actionButton->setIsEnabled(config.isActionEnabled);
    m_restoreButton->setIsEnabled(config.isRestoreEnabled);
}

void BackupRestoreVBackupStatusV::update(const Shared::Settings::Appearance& appearance)
{
    m_actionButton->setTitleFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_actionButton->setSubtitleFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
    if (auto label = m_restoreButton->titleLabel())
        label->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

} // namespace Corvendale
