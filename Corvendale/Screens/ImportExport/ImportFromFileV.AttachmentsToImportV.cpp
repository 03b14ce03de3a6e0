#include "Corvendale/Screens/ImportExport/ImportFromFileV.AttachmentsToImportV.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileV_AttachmentsToImportV_Delegate.hpp"

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

ImportFromFileVAttachmentsToImportV::ImportFromFileVAttachmentsToImportV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVAttachmentsToImportV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_fileURLInput = Foundation::make<Shared::FileURLInput>();
    setAccessibilityIdentifier(Foundation::String("AttachmentsToImportV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 12);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setText(Foundation::String("Where is the attachments folder you exported to? (Optional)"));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    m_fileURLInput->setDelegate(std::static_pointer_cast<Shared::FileURLInputDelegate>(sharedSelf(this)));
    m_fileURLInput->setContentType(UniformTypeIdentifiers::UTType::folder());
    m_fileURLInput->setPlaceholder(Foundation::String("Drag here or choose folder"));
    m_fileURLInput->setContentInsets({12, 12, 12, 12});
    stack->addArrangedSubview(m_fileURLInput);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

std::optional<Foundation::String> ImportFromFileVAttachmentsToImportV::locationText() const
{
    return m_fileURLInput->text();
}

void ImportFromFileVAttachmentsToImportV::setLocationText(std::optional<Foundation::String> text)
{
    m_fileURLInput->setText(std::move(text));
}

void ImportFromFileVAttachmentsToImportV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
}

void ImportFromFileVAttachmentsToImportV::didSelect(const Foundation::URL& fileURL, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(fileURL, *this);
}

void ImportFromFileVAttachmentsToImportV::didSelectClear(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didSelect(std::nullopt, *this);
}

void ImportFromFileVAttachmentsToImportV::didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didFailToSelectAttachmentsURL(error, *this);
}

void ImportFromFileVAttachmentsToImportV::didRequestFileURLPicker(Shared::FileURLInput&)
{
    if (auto delegate = this->delegate())
        delegate->didRequestAttachmentsURLPicker(*this);
}

} // namespace Corvendale
