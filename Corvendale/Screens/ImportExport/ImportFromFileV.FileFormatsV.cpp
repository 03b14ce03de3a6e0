#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileFormatsV.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileV_FileFormatsV_Delegate.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

ImportFromFileVFileFormatsV::ImportFromFileVFileFormatsV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVFileFormatsV::initialize()
{
    UIView::initialize();
    m_exportRequirementLabel = Foundation::make<UIKit::UILabel>();
    m_fileFormatsV = Foundation::make<SettingsVOptionSettingV<Shared::ImporterFileFormat>>();
    setAccessibilityIdentifier(Foundation::String("FileFormatsV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_exportRequirementLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_exportRequirementLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_exportRequirementLabel);
    stack->addArrangedSubview(m_exportRequirementLabel);

    std::weak_ptr<ImportFromFileVFileFormatsV> weakSelf = sharedSelf(this);
    m_fileFormatsV->setTitleText(Foundation::String("Which file format did you export to?"));
    m_fileFormatsV->setIsOptionTitleMonospaced(true);
    m_fileFormatsV->onSelection = [weakSelf](const Shared::ImporterFileFormat& format) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(format, *self);
    };
    m_fileFormatsV->onClear = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::nullopt, *self);
    };
    m_fileFormatsV->isAvailableOverride = [weakSelf](const Shared::ImporterFileFormat& format) {
        auto self = weakSelf.lock();
        return self && self->m_selectedApp && Shared::app(format) == *self->m_selectedApp;
    };
    stack->addArrangedSubview(m_fileFormatsV);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void ImportFromFileVFileFormatsV::update(const Shared::Settings::Appearance& appearance)
{
    m_exportRequirementLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

void ImportFromFileVFileFormatsV::update(const Config& config)
{
    m_selectedApp = config.selectedApp;
    std::optional<Foundation::String> requirement;
    if (config.selectedApp && !config.selectedFileFormat) {
        if (*config.selectedApp == Shared::ImporterApp::safari) {
            requirement = Foundation::String("If you haven't done so already, please export your passwords from either Safari or the Apple Passwords "
                                             "app. Please contact Apple support if you run into any trouble.");
        } else {
            const auto name = Shared::name(*config.selectedApp).utf8();
            requirement = Foundation::String("If you haven't done so already, please open " + name
                                             + " and export your data to one of the following file formats. Please contact " + name
                                             + " support if you run into any trouble.");
        }
    }
    if (requirement)
        m_exportRequirementLabel->setText(requirement);
    Basalwork::setVisibilityAndAlpha(*m_exportRequirementLabel, requirement.has_value());
    m_fileFormatsV->setSelected(config.selectedFileFormat);
}

} // namespace Corvendale
