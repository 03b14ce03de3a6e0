#pragma once

namespace UIKit {

// What a text view asks of and tells its owner. Our code sets delegates but none of them answers
// anything the headless view asks, so there are no requirements yet.
class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;
};

} // namespace UIKit
