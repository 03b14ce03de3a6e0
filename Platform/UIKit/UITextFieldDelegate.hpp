#pragma once

#include "Platform/Foundation/NSRange.hpp"
#include "Platform/Foundation/String.hpp"

namespace UIKit {

class UITextField;

// What a text field asks of and tells its owner, which it holds weakly. Every answer has a default that
// lets the field go on.
class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(UITextField& /*textField*/) { return true; }
    virtual void textFieldDidBeginEditing(UITextField& /*textField*/) {}
    virtual bool textFieldShouldEndEditing(UITextField& /*textField*/) { return true; }
    virtual void textFieldDidEndEditing(UITextField& /*textField*/) {}
    // textField(_:shouldChangeCharactersIn:replacementString:): typing replaces the range (in UTF-16
    // units) with the string; false keeps the text as it is.
    virtual bool textField(UITextField& /*textField*/, Foundation::NSRange /*shouldChangeCharactersIn*/,
                           const Foundation::String& /*replacementString*/)
    {
        return true;
    }
    virtual bool textFieldShouldClear(UITextField& /*textField*/) { return true; }
    // Return was pressed; true lets the field report it.
    virtual bool textFieldShouldReturn(UITextField& /*textField*/) { return true; }
};

} // namespace UIKit
