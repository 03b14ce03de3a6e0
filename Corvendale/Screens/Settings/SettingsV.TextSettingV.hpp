#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITextContentType.hpp"
#include "Platform/UIKit/UITextFieldDelegate.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
}

namespace Basalwork {
class TextInput;
}

namespace Corvendale {

// SettingsV.TextSettingV: a question over a one-line input for a free-text preference. Every edit by
// the user is trimmed at both ends at once and reported (none for nothing left); values the owner
// writes are not reported.
class SettingsVTextSettingV : public UIKit::UIView, public UIKit::UITextFieldDelegate, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    std::function<void(const std::optional<Foundation::String>&)> onUpdate;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Basalwork::TextInput>& valueTextInput() const { return m_valueTextInput; }

    std::optional<Foundation::String> titleText() const;
    void setTitleText(std::optional<Foundation::String> text);
    std::optional<Foundation::String> valueText() const;
    void setValueText(const std::optional<Foundation::String>& text);
    std::optional<Foundation::String> placeholderText() const;
    void setPlaceholderText(std::optional<Foundation::String> text);
    std::optional<UIKit::UITextContentType> textContentType() const;
    void setTextContentType(std::optional<UIKit::UITextContentType> type);
    bool isSecureTextEntry() const;
    void setIsSecureTextEntry(bool secure);

    void textFieldDidChange(UIKit::UITextField& textField);
    bool textFieldShouldClear(UIKit::UITextField& textField) override;
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    SettingsVTextSettingV();
    void initialize() override;
    virtual void setup();

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Basalwork::TextInput> m_valueTextInput;
};

} // namespace Corvendale
