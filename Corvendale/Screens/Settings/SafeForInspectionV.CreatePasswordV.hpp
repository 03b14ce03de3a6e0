#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITextFieldDelegate.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIKeyCommand;
class UILabel;
} // namespace UIKit

namespace Basalwork {
class TextInput;
}

namespace Corvendale {

// SafeForInspectionV.CreatePasswordV: the inspection password typed twice. Return in the first input
// moves to the second, Return in the second acts; Tab and Shift-Tab move between the two.
class SafeForInspectionVCreatePasswordV : public UIKit::UIView,
                                          public UIKit::UITextFieldDelegate,
                                          public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    // Each input without text reports the empty text.
    std::function<void(const Foundation::String&)> onEntryTextDidChange;
    std::function<void(const Foundation::String&)> onReEntryTextDidChange;
    std::function<void()> onReEntryTextDidReturn;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Basalwork::TextInput>& entryTextInput() const { return m_entryTextInput; }
    const std::shared_ptr<Basalwork::TextInput>& reEntryTextInput() const { return m_reEntryTextInput; }

    Foundation::String entryText() const;
    void setEntryText(const std::optional<Foundation::String>& text);
    Foundation::String reEntryText() const;
    void setReEntryText(const std::optional<Foundation::String>& text);
    void focusEntryTextInput();
    void resignTextInputs();

    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleTabKeyPress();
    void handleShiftTabKeyPress();
    bool textFieldShouldReturn(UIKit::UITextField& textField) override;
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    SafeForInspectionVCreatePasswordV();
    void initialize() override;
    virtual void setup();

private:
    void textFieldDidChange(UIKit::UITextField& textField);
    // From the input holding the keyboard to the other; nothing when neither holds it.
    void switchInputs();

    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Basalwork::TextInput> m_entryTextInput;
    std::shared_ptr<Basalwork::TextInput> m_reEntryTextInput;
};

} // namespace Corvendale
