#include "Corvendale/Screens/Settings/SafeForInspectionV.CreatePasswordV.hpp"

#include "Corvendale/Screens/Settings/TextInput.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIReturnKeyType.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextAutocapitalizationType.hpp"
#include "Platform/UIKit/UITextAutocorrectionType.hpp"
#include "Platform/UIKit/UITextContentType.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextSpellCheckingType.hpp"

#include <tuple>
#include <vector>

namespace Corvendale {

namespace {

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleTabKeyPress"), &SafeForInspectionVCreatePasswordV::handleTabKeyPress);
    Foundation::MethodTable::add(Foundation::Selector("handleShiftTabKeyPress"), &SafeForInspectionVCreatePasswordV::handleShiftTabKeyPress);
    return true;
}();

} // namespace

SafeForInspectionVCreatePasswordV::SafeForInspectionVCreatePasswordV()
    : UIView(UIKit::CGRect::zero())
{
}

void SafeForInspectionVCreatePasswordV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_entryTextInput = Foundation::make<Basalwork::TextInput>();
    m_reEntryTextInput = Foundation::make<Basalwork::TextInput>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SafeForInspectionVCreatePasswordV::setup()
{
    using Axis = UIKit::NSLayoutConstraint::Axis;
    using Alignment = UIKit::UIStackView::Alignment;
    using Distribution = UIKit::UIStackView::Distribution;
    setAccessibilityIdentifier(Foundation::String("CreatePasswordV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 16);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);

    const auto title = Shared::Global::SafeForInspection::title();
    m_titleLabel->setText("Create your " + title + " password:");
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);

    auto inputs = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 16);
    stack->addArrangedSubview(inputs);
    std::weak_ptr<SafeForInspectionVCreatePasswordV> weakSelf = sharedSelf(this);
    auto delegate = std::static_pointer_cast<UIKit::UITextFieldDelegate>(sharedSelf(this));
    for (auto [input, placeholder, returnKey] :
         std::vector {std::tuple {m_entryTextInput, "Enter " + title + " Password", UIKit::UIReturnKeyType::next},
                      std::tuple {m_reEntryTextInput, "Confirm " + title + " Password", UIKit::UIReturnKeyType::go}}) {
        input->setPlaceholder(placeholder);
        styleAsSettingsInput(*input);
        input->setReturnKeyType(returnKey);
        input->setTextContentType(UIKit::UITextContentType::oneTimeCode());
        input->setIsSecureTextEntry(true);
        input->setAdjustsFontSizeToFitWidth(true);
        input->setMinimumFontSize(0.5);
        input->setDelegate(delegate);
        reportEditingChanges(*input, [weakSelf](UIKit::UITextField& field) {
            if (auto self = weakSelf.lock())
                self->textFieldDidChange(field);
        });
        inputs->addArrangedSubview(input);
    }
}

Foundation::String SafeForInspectionVCreatePasswordV::entryText() const
{
    return m_entryTextInput->text();
}

void SafeForInspectionVCreatePasswordV::setEntryText(const std::optional<Foundation::String>& text)
{
    m_entryTextInput->setText(text);
}

Foundation::String SafeForInspectionVCreatePasswordV::reEntryText() const
{
    return m_reEntryTextInput->text();
}

void SafeForInspectionVCreatePasswordV::setReEntryText(const std::optional<Foundation::String>& text)
{
    m_reEntryTextInput->setText(text);
}

void SafeForInspectionVCreatePasswordV::focusEntryTextInput()
{
    m_entryTextInput->becomeFirstResponder();
}

void SafeForInspectionVCreatePasswordV::resignTextInputs()
{
    m_entryTextInput->resignFirstResponder();
    m_reEntryTextInput->resignFirstResponder();
}

void SafeForInspectionVCreatePasswordV::textFieldDidChange(UIKit::UITextField& textField)
{
    if (&textField == m_entryTextInput->textField().get()) {
        if (onEntryTextDidChange)
            onEntryTextDidChange(textField.text());
    } else if (&textField == m_reEntryTextInput->textField().get()) {
        if (onReEntryTextDidChange)
            onReEntryTextDidChange(textField.text());
    }
}

bool SafeForInspectionVCreatePasswordV::textFieldShouldReturn(UIKit::UITextField& textField)
{
    if (&textField == m_entryTextInput->textField().get())
        m_reEntryTextInput->becomeFirstResponder();
    else if (&textField == m_reEntryTextInput->textField().get() && onReEntryTextDidReturn)
        onReEntryTextDidReturn();
    return false;
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> SafeForInspectionVCreatePasswordV::keyCommands() const
{
    return std::vector {
        Shared::UIKeyCommands::withInput(Foundation::String("\t"), {}, Foundation::Selector("handleTabKeyPress"), true),
        Shared::UIKeyCommands::withInput(Foundation::String("\t"), UIKit::UIKeyModifierFlags::shift(), Foundation::Selector("handleShiftTabKeyPress"), true),
    };
}

void SafeForInspectionVCreatePasswordV::handleTabKeyPress()
{
    switchInputs();
}

void SafeForInspectionVCreatePasswordV::handleShiftTabKeyPress()
{
    switchInputs();
}

void SafeForInspectionVCreatePasswordV::switchInputs()
{
    if (m_entryTextInput->isFirstResponder())
        m_reEntryTextInput->becomeFirstResponder();
    else if (m_reEntryTextInput->isFirstResponder())
        m_entryTextInput->becomeFirstResponder();
}

void SafeForInspectionVCreatePasswordV::update(const Shared::Settings::Appearance& appearance)
{
    const auto& title3 = UIKit::UIFont::TextStyle::title3();
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(title3, false)));
    m_entryTextInput->setFont(appearance.font(title3, false));
    m_reEntryTextInput->setFont(appearance.font(title3, false));
}

} // namespace Corvendale
