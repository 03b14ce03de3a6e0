#pragma once

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class UIKey;
class UIPress;

// A responder that takes typed text.
class UIKeyInput {
public:
    virtual ~UIKeyInput() = default;

    virtual bool hasText() const = 0;
    virtual void insertText(const Foundation::String& text) = 0;
    virtual void deleteBackward() = 0;

    // The keys a text input types or edits with while it is first responder: characters, Delete, Return,
    // Tab and the arrows, none held with Command or Control. Key commands that do not ask for priority
    // leave these keys to it.
    static bool usesKey(const UIKey& key);

protected:
    // Types the keys of pressed keyboard keys: Backspace deletes, Return types a line break where
    // `multiline`, and printable characters are inserted. Keys held with Command or Control are shortcuts
    // and type nothing. True when any press typed.
    bool typePresses(const std::vector<std::shared_ptr<UIPress>>& presses, bool multiline);
};

} // namespace UIKit
