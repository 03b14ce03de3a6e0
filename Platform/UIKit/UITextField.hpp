#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"

namespace UIKit {

// A single line of editable text. It edits while it is first responder; typing (keys, `insertText`,
// `deleteBackward`) posts `textDidChangeNotification` with the field as object, setting the text does not.
class UITextField : public UIControl, public UIKeyInput {
public:
    enum class ViewMode : std::int64_t;

    static const Foundation::Notification::Name& textDidChangeNotification();

    const Foundation::String& text() const { return m_text; }
    void setText(Foundation::String text) { m_text = std::move(text); }
    bool isEditing() const { return m_isEditing; }
    // When the button that clears the text shows.
    ViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(ViewMode mode) { m_clearButtonMode = mode; }

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    bool hasText() const override { return !m_text.isEmpty(); }
    void insertText(const Foundation::String& text) override;
    void deleteBackward() override;

    void pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                      const std::shared_ptr<UIEvent>& event) override;

protected:
    friend Foundation::Construct;
    UITextField() = default;
    explicit UITextField(const CGRect& frame)
        : UIControl(frame)
    {
    }

private:
    void textDidChange();

    Foundation::String m_text;
    bool m_isEditing = false;
    ViewMode m_clearButtonMode {};
};

} // namespace UIKit

#include "Platform/UIKit/UITextField.ViewMode.hpp"
