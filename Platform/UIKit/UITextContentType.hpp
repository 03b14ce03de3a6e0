#pragma once

#include "Platform/Foundation/String.hpp"

namespace UIKit {

// What a text input holds, so that the system can offer fitting suggestions; recorded.
struct UITextContentType {
    Foundation::String rawValue;

    static UITextContentType name() { return {"name"}; }
    static UITextContentType username() { return {"username"}; }
    static UITextContentType password() { return {"password"}; }
    static UITextContentType newPassword() { return {"new-password"}; }
    static UITextContentType oneTimeCode() { return {"one-time-code"}; }
    static UITextContentType emailAddress() { return {"email"}; }
    static UITextContentType URL() { return {"url"}; }
    static UITextContentType telephoneNumber() { return {"tel"}; }
    static UITextContentType creditCardNumber() { return {"cc-number"}; }

    friend bool operator==(const UITextContentType&, const UITextContentType&) = default;
};

} // namespace UIKit
