#pragma once

#include "Platform/Foundation/NSRange.hpp"
#include "Platform/Foundation/String.hpp"

namespace UIKit {

class UITextView;

// What a text view asks of and tells its owner as the user types.
class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;
    // textView(_:shouldChangeTextIn:replacementText:): typing replaces the range (in UTF-16 units) with
    // the text; false keeps the text as it is.
    virtual bool textView(UITextView& /*textView*/, Foundation::NSRange /*shouldChangeTextIn*/, const Foundation::String& /*replacementText*/)
    {
        return true;
    }
    // A change the user made (not one the owner set).
    virtual void textViewDidChange(UITextView& /*textView*/) {}
};

} // namespace UIKit
