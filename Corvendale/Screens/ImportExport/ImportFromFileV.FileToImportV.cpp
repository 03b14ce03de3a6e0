#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileToImportV.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileToImportV.RequiredColumnLabelsV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV_FileToImportV_Delegate.hpp"

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

#include <string>

namespace Corvendale {

ImportFromFileVFileToImportV::ImportFromFileVFileToImportV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVFileToImportV::initialize()
{
    UIView::initialize();
    m_requiredColumnLabelsV = Foundation::make<ImportFromFileVFileToImportVRequiredColumnLabelsV>();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_fileURLInput = Foundation::make<Shared::FileURLInput>();
    setAccessibilityIdentifier(Foundation::String("FileToImportV"));
    setBackgroundColor(UIKit::UIColor::clear());
    using Axis = UIKit::NSLayoutConstraint::Axis;
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 24);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    stack->addArrangedSubview(m_requiredColumnLabelsV);
    auto inner = Basalwork::UIStackViews::withAxis(Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 12);
    stack->addArrangedSubview(inner);
    m_titleLabel->setText(Foundation::String("Where is the file you exported to?"));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    inner->addArrangedSubview(m_titleLabel);
    m_fileURLInput->setDelegate(std::static_pointer_cast<Shared::FileURLInputDelegate>(sharedSelf(this)));
    m_fileURLInput->setPlaceholder(Foundation::String("Drag here or choose file"));
    m_fileURLInput->setContentInsets({12, 12, 12, 12});
    inner->addArrangedSubview(m_fileURLInput);
    updateRequiredColumnLabels();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void ImportFromFileVFileToImportV::setSelectedFileFormat(std::optional<Shared::ImporterFileFormat> format)
{
    m_selectedFileFormat = format;
    if (format) {
        const bool created = Shared::app(*format) == Shared::ImporterApp::customCSV;
        m_titleLabel->setText(Foundation::String("Where is the " + Shared::titleText(*format).utf8()
                                                 + (created ? " file you created?" : " file you exported to?")));
    }
    updateRequiredColumnLabels();
    m_fileURLInput->setContentType(format ? Shared::utType(*format) : UniformTypeIdentifiers::UTType::data());
}

void ImportFromFileVFileToImportV::updateRequiredColumnLabels()
{
    const auto labels = m_selectedFileFormat ? Shared::requiredCSVColumnLabels(*m_selectedFileFormat) : std::vector<Foundation::String> {};
    if (!labels.empty())
        m_requiredColumnLabelsV->setColumnLabelsText(Foundation::joined(labels, ", "));
    Basalwork::setVisibilityAndAlpha(*m_requiredColumnLabelsV, !labels.empty());
}

std::optional<Foundation::String> ImportFromFileVFileToImportV::locationText() const
{
    return m_fileURLInput->text();
}

void ImportFromFileVFileToImportV::setLocationText(std::optional<Foundation::String> text)
{
    m_fileURLInput->setText(std::move(text));
}

void ImportFromFileVFileToImportV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
}

void ImportFromFileVFileToImportV::didSelect(const Foundation::URL& fileURL, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(fileURL, *this);
}

void ImportFromFileVFileToImportV::didSelectClear(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(std::nullopt, *this);
}

void ImportFromFileVFileToImportV::didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didFailToSelectFileURL(error, *this);
}

void ImportFromFileVFileToImportV::didRequestFileURLPicker(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didRequestFileURLPicker(*this);
}

} // namespace Corvendale
