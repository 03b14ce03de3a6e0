#include "Corvendale/Screens/ImportExport/ExportToFileV.ExportLocationV.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileV_ExportLocationV_Delegate.hpp"

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

ExportToFileVExportLocationV::ExportToFileVExportLocationV()
    : UIView(UIKit::CGRect::zero())
{
}

void ExportToFileVExportLocationV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_fileURLInput = Foundation::make<Shared::FileURLInput>();
    m_warningLabel = Foundation::make<UIKit::UILabel>();
    setAccessibilityIdentifier(Foundation::String("ExportLocationV"));
    setBackgroundColor(UIKit::UIColor::clear());
    using Axis = UIKit::NSLayoutConstraint::Axis;
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    auto inner = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 12);
    stack->addArrangedSubview(inner);
    m_titleLabel->setText(Foundation::String(" "));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    inner->addArrangedSubview(m_titleLabel);
    m_fileURLInput->setDelegate(std::static_pointer_cast<Shared::FileURLInputDelegate>(sharedSelf(this)));
    m_fileURLInput->setContentType(UniformTypeIdentifiers::UTType::folder());
    m_fileURLInput->setPlaceholder(Foundation::String("Drag here or choose folder"));
    m_fileURLInput->setContentInsets({12, 12, 12, 12});
    inner->addArrangedSubview(m_fileURLInput);
    m_warningLabel->setText(Foundation::String(unencryptedWarning));
    m_warningLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_warningLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_warningLabel);
    stack->addArrangedSubview(m_warningLabel);
    Basalwork::setIsVisible(*m_warningLabel, false);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void ExportToFileVExportLocationV::setSelectedFileFormat(std::optional<Shared::ExporterFileFormat> format)
{
    m_selectedFileFormat = format;
    const bool withAttachments = format && Shared::includesAttachments(*format);
    m_titleLabel->setText(Foundation::String(withAttachments ? "Where would you like to save the exported file and attachments?"
                                                             : "Where would you like to save the exported file?"));
}

std::optional<Foundation::String> ExportToFileVExportLocationV::locationText() const
{
    return m_fileURLInput->text();
}

void ExportToFileVExportLocationV::setLocationText(std::optional<Foundation::String> text)
{
    const bool isPresent = text.has_value();
    m_fileURLInput->setText(std::move(text));
    Basalwork::setVisibilityAndAlpha(*m_warningLabel, isPresent);
}

void ExportToFileVExportLocationV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_warningLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

void ExportToFileVExportLocationV::didSelect(const Foundation::URL& fileURL, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(fileURL, *this);
}

void ExportToFileVExportLocationV::didSelectClear(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(std::nullopt, *this);
}

void ExportToFileVExportLocationV::didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didFailToSelectLocationURL(error, *this);
}

void ExportToFileVExportLocationV::didRequestFileURLPicker(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didRequestLocationURLPicker(*this);
}

} // namespace Corvendale
