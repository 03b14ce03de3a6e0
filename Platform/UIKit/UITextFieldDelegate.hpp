#pragma once

namespace UIKit {

// What a text field asks of and tells its owner. Our code sets delegates but none of them answers
// anything the headless field asks, so there are no requirements yet.
class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;
};

} // namespace UIKit
