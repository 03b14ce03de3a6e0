#include "Corvendale/Screens/ImportExport/ExportToFileV.FileFormatsV.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileV_FileFormatsV_Delegate.hpp"

#include "Shared/Model/Global.hpp"
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

ExportToFileVFileFormatsV::ExportToFileVFileFormatsV()
    : UIView(UIKit::CGRect::zero())
{
}

void ExportToFileVFileFormatsV::initialize()
{
    UIView::initialize();
    m_fileFormatsV = Foundation::make<SettingsVOptionSettingV<Shared::ExporterFileFormat>>();
    m_warningLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(Foundation::String("FileFormatsV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    std::weak_ptr<ExportToFileVFileFormatsV> weakSelf = sharedSelf(this);
    m_fileFormatsV->setTitleText(Foundation::String("Which file format would you like to export to?"));
    m_fileFormatsV->setIsOptionTitleMonospaced(true);
    m_fileFormatsV->onSelection = [weakSelf](const Shared::ExporterFileFormat& format) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(format, *self);
    };
    m_fileFormatsV->onClear = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::nullopt, *self);
    };
    m_fileFormatsV->isAvailableOverride = [weakSelf](const Shared::ExporterFileFormat& format) {
        auto self = weakSelf.lock();
        return self && self->m_selectedApp && Shared::app(format) == *self->m_selectedApp;
    };
    stack->addArrangedSubview(m_fileFormatsV);
    m_warningLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_warningLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_warningLabel);
    stack->addArrangedSubview(m_warningLabel);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

std::optional<Foundation::String> ExportToFileVFileFormatsV::warningText(const Config& config)
{
    if (!config.selectedApp || !config.selectedFileFormat)
        return std::nullopt;
    switch (*config.selectedFileFormat) {
    case Shared::ExporterFileFormat::plainText:
        return Foundation::String("Please note Text File exports are for reference purposes only. They cannot be re-imported into "
                                  + Shared::Global::corvendale().utf8() + " or any other app.");
    case Shared::ExporterFileFormat::keePassXCCSV:
        return Foundation::String("Only fields supported by " + Shared::name(*config.selectedApp).utf8()
                                  + ", such as login fields and notes, will be included in the exported CSV. All other fields will be omitted.");
    default:
        return std::nullopt;
    }
}

void ExportToFileVFileFormatsV::update(const Config& config)
{
    m_selectedApp = config.selectedApp;
    m_fileFormatsV->setSelected(config.selectedFileFormat);
    const auto warning = warningText(config);
    if (warning)
        m_warningLabel->setText(warning);
    Basalwork::setVisibilityAndAlpha(*m_warningLabel, warning.has_value());
}

void ExportToFileVFileFormatsV::update(const Shared::Settings::Appearance& appearance)
{
    m_warningLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
