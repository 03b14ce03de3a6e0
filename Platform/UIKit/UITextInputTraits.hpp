#pragma once

#include "Platform/UIKit/UIKeyboardType.hpp"
#include "Platform/UIKit/UIReturnKeyType.hpp"
#include "Platform/UIKit/UITextAutocapitalizationType.hpp"
#include "Platform/UIKit/UITextAutocorrectionType.hpp"
#include "Platform/UIKit/UITextContentType.hpp"
#include "Platform/UIKit/UITextSpellCheckingType.hpp"

#include <optional>

namespace UIKit {

// How the keyboard behaves for a text input. There is no on-screen keyboard, so the traits are recorded
// for the code that sets them.
class UITextInputTraits {
public:
    const std::optional<UITextContentType>& textContentType() const { return m_textContentType; }
    void setTextContentType(std::optional<UITextContentType> type) { m_textContentType = std::move(type); }
    UIKeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(UIKeyboardType type) { m_keyboardType = type; }
    UITextAutocapitalizationType autocapitalizationType() const { return m_autocapitalizationType; }
    void setAutocapitalizationType(UITextAutocapitalizationType type) { m_autocapitalizationType = type; }
    UITextAutocorrectionType autocorrectionType() const { return m_autocorrectionType; }
    void setAutocorrectionType(UITextAutocorrectionType type) { m_autocorrectionType = type; }
    UITextSpellCheckingType spellCheckingType() const { return m_spellCheckingType; }
    void setSpellCheckingType(UITextSpellCheckingType type) { m_spellCheckingType = type; }
    UIReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(UIReturnKeyType type) { m_returnKeyType = type; }

protected:
    UITextInputTraits() = default;
    ~UITextInputTraits() = default;
    UITextInputTraits(const UITextInputTraits&) = default;
    UITextInputTraits& operator=(const UITextInputTraits&) = default;

private:
    std::optional<UITextContentType> m_textContentType;
    UIKeyboardType m_keyboardType = UIKeyboardType::default_;
    UITextAutocapitalizationType m_autocapitalizationType = UITextAutocapitalizationType::sentences;
    UITextAutocorrectionType m_autocorrectionType = UITextAutocorrectionType::default_;
    UITextSpellCheckingType m_spellCheckingType = UITextSpellCheckingType::default_;
    UIReturnKeyType m_returnKeyType = UIReturnKeyType::default_;
};

} // namespace UIKit
