#include "Corvendale/Screens/Settings/TextInput.hpp"

#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/TextInput.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UITextAutocapitalizationType.hpp"
#include "Platform/UIKit/UITextAutocorrectionType.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextSpellCheckingType.hpp"

#include <memory>

namespace Corvendale {

void styleAsSettingsInput(Basalwork::TextInput& input)
{
    input.setTextColor(Shared::UIColors::primaryTint());
    input.setBackgroundColor(Shared::UIColors::tertiaryBackground());
    input.setInsets(Basalwork::LayoutInsets::withAll(12));
    input.setClearButtonMode(UIKit::UITextField::ViewMode::whileEditing);
    input.setAutocapitalizationType(UIKit::UITextAutocapitalizationType::none);
    input.setAutocorrectionType(UIKit::UITextAutocorrectionType::no);
    input.setSpellCheckingType(UIKit::UITextSpellCheckingType::no);
}

void reportEditingChanges(Basalwork::TextInput& input, std::function<void(UIKit::UITextField&)> didChange)
{
    std::weak_ptr<UIKit::UITextField> weakField = input.textField();
    input.textField()->addAction(
        [weakField, didChange = std::move(didChange)] {
            if (auto field = weakField.lock())
                didChange(*field);
        },
        UIKit::UIControl::Event::editingChanged());
}

} // namespace Corvendale
