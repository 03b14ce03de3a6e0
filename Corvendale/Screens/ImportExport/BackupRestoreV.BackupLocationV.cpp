#include "Corvendale/Screens/ImportExport/BackupRestoreV.BackupLocationV.hpp"

#include "Corvendale/Screens/ImportExport/BackupRestoreV_BackupLocationV_Delegate.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/FileURLInput.hpp"
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

BackupRestoreVBackupLocationV::BackupRestoreVBackupLocationV()
    : UIView(UIKit::CGRect::zero())
{
}

void BackupRestoreVBackupLocationV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_fileURLInput = Foundation::make<Shared::FileURLInput>();
    setAccessibilityIdentifier(Foundation::String("BackupLocationV"));
    setBackgroundColor(UIKit::UIColor::clear());
    using Axis = UIKit::NSLayoutConstraint::Axis;
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    auto inner = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 12);
    stack->addArrangedSubview(inner);
    m_titleLabel->setText(Foundation::String("Where would you like " + Shared::Global::corvendale().utf8() + " to save encrypted backups?"));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    inner->addArrangedSubview(m_titleLabel);
    m_fileURLInput->setDelegate(m_delegate.lock());
    m_fileURLInput->setContentType(UniformTypeIdentifiers::UTType::folder());
    m_fileURLInput->setPlaceholder(Foundation::String("Drag here or choose folder"));
    m_fileURLInput->setContentInsets({12, 12, 12, 12});
    inner->addArrangedSubview(m_fileURLInput);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void BackupRestoreVBackupLocationV::setDelegate(const std::shared_ptr<BackupRestoreV_BackupLocationV_Delegate>& delegate)
{
    m_delegate = delegate;
    m_fileURLInput->setDelegate(delegate);
}

std::optional<Foundation::String> BackupRestoreVBackupLocationV::locationText() const
{
    return m_fileURLInput->text();
}

void BackupRestoreVBackupLocationV::setLocationText(std::optional<Foundation::String> text)
{
    m_fileURLInput->setText(std::move(text));
}

void BackupRestoreVBackupLocationV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
}

} // namespace Corvendale
