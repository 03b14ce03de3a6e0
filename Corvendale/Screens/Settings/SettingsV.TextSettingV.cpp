#include "Corvendale/Screens/Settings/SettingsV.TextSettingV.hpp"

#include "Corvendale/Screens/Settings/TextInput.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UITextField.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextAutocapitalizationType.hpp"
#include "Platform/UIKit/UITextAutocorrectionType.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextSpellCheckingType.hpp"

namespace Corvendale {

SettingsVTextSettingV::SettingsVTextSettingV()
    : UIView(UIKit::CGRect::zero())
{
}

void SettingsVTextSettingV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_valueTextInput = Foundation::make<Basalwork::TextInput>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SettingsVTextSettingV::setup()
{
    setAccessibilityIdentifier(Foundation::String("TextSettingV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 8);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);

    m_titleLabel->setText(Foundation::String(" "));
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);

    styleAsSettingsInput(*m_valueTextInput);
    m_valueTextInput->setDelegate(std::static_pointer_cast<UIKit::UITextFieldDelegate>(sharedSelf(this)));
    std::weak_ptr<SettingsVTextSettingV> weakSelf = sharedSelf(this);
    reportEditingChanges(*m_valueTextInput, [weakSelf](UIKit::UITextField& field) {
        if (auto self = weakSelf.lock())
            self->textFieldDidChange(field);
    });
    stack->addArrangedSubview(m_valueTextInput);
}

std::optional<Foundation::String> SettingsVTextSettingV::titleText() const
{
    return m_titleLabel->text();
}

void SettingsVTextSettingV::setTitleText(std::optional<Foundation::String> text)
{
    m_titleLabel->setText(std::move(text));
}

std::optional<Foundation::String> SettingsVTextSettingV::valueText() const
{
    auto text = m_valueTextInput->text();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

void SettingsVTextSettingV::setValueText(const std::optional<Foundation::String>& text)
{
    m_valueTextInput->setText(text);
}

std::optional<Foundation::String> SettingsVTextSettingV::placeholderText() const
{
    return m_valueTextInput->placeholder();
}

void SettingsVTextSettingV::setPlaceholderText(std::optional<Foundation::String> text)
{
    m_valueTextInput->setPlaceholder(std::move(text));
}

std::optional<UIKit::UITextContentType> SettingsVTextSettingV::textContentType() const
{
    return m_valueTextInput->textContentType();
}

void SettingsVTextSettingV::setTextContentType(std::optional<UIKit::UITextContentType> type)
{
    m_valueTextInput->setTextContentType(std::move(type));
}

bool SettingsVTextSettingV::isSecureTextEntry() const
{
    return m_valueTextInput->isSecureTextEntry();
}

void SettingsVTextSettingV::setIsSecureTextEntry(bool secure)
{
    m_valueTextInput->setIsSecureTextEntry(secure);
}

void SettingsVTextSettingV::textFieldDidChange(UIKit::UITextField& textField)
{
    // Trimmed at every keystroke, not when editing ends: a space typed after the value goes at once.
    const auto trimmed = textField.text().trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
    if (Basalwork::hasAtLeastOneNonWhitespaceCharacter(trimmed))
        Basalwork::setText(textField, trimmed);
    else
        textField.setText(Foundation::String());
    if (onUpdate)
        onUpdate(textField.text().isEmpty() ? std::nullopt : std::optional(textField.text()));
}

bool SettingsVTextSettingV::textFieldShouldClear(UIKit::UITextField&)
{
    if (onUpdate)
        onUpdate(std::nullopt);
    return true;
}

void SettingsVTextSettingV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_valueTextInput->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
