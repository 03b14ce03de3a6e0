#include "Corvendale/Screens/ImportExport/ImportFromFileV.TagsToAddV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/MultilineTextInput.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Corvendale {

ImportFromFileVTagsToAddV::ImportFromFileVTagsToAddV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVTagsToAddV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_valueTextInput = Foundation::make<Basalwork::MultilineTextInput>();
    setAccessibilityIdentifier(Foundation::String("TagsToAddV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 8);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setText(Foundation::String("Would you like to add one or more tags to each imported item?"));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    m_valueTextInput->setPlaceholder(Foundation::String("i.e. personal, work, family"));
    m_valueTextInput->setTextColor(Shared::UIColors::primaryTint());
    m_valueTextInput->setBackgroundColor(Shared::UIColors::tertiaryBackground());
    m_valueTextInput->setInsets(Basalwork::LayoutInsets(12, 12, 12, 12));
    m_valueTextInput->setIsScrollEnabled(false);
    m_valueTextInput->setAutocapitalizationType(UIKit::UITextAutocapitalizationType::none);
    m_valueTextInput->setAutocorrectionType(UIKit::UITextAutocorrectionType::no);
    m_valueTextInput->setSpellCheckingType(UIKit::UITextSpellCheckingType::no);
    m_valueTextInput->textView()->setAccessibilityIdentifier(Foundation::String("TagsToAddV.Input"));
    m_valueTextInput->setDelegate(std::static_pointer_cast<UIKit::UITextViewDelegate>(sharedSelf(this)));
    stack->addArrangedSubview(m_valueTextInput);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

std::optional<Foundation::String> ImportFromFileVTagsToAddV::text() const
{
    return m_valueTextInput->text();
}

void ImportFromFileVTagsToAddV::setText(const std::optional<Foundation::String>& text)
{
    m_valueTextInput->setText(text);
}

void ImportFromFileVTagsToAddV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_valueTextInput->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

void ImportFromFileVTagsToAddV::textViewDidChange(UIKit::UITextView& textView)
{
    if (onUpdate)
        onUpdate(textView.text());
}

bool ImportFromFileVTagsToAddV::textView(UIKit::UITextView& textView, Foundation::NSRange, const Foundation::String& replacementText)
{
    if (Basalwork::isNewline(replacementText)) {
        textView.resignFirstResponder();
        return false;
    }
    return true;
}

} // namespace Corvendale
