#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <memory>

namespace UIKit {

// The display. Nothing is shown, so its size and pixel density are recorded values that tests change.
class UIScreen : public Foundation::NSObject {
public:
    static const std::shared_ptr<UIScreen>& main();

    CGRect bounds() const { return m_bounds; }
    void setBounds(const CGRect& bounds) { m_bounds = bounds; }
    // Device pixels per point.
    CGFloat scale() const { return m_scale; }
    // A scale that is not a positive number stops the program: every pixel computation divides by it.
    void setScale(CGFloat scale);
    // How tall the on-screen keyboard is when a text input takes focus; a Mac has none, so 0 unless the
    // program's driver (or a test) says otherwise.
    CGFloat keyboardHeight() const { return m_keyboardHeight; }
    void setKeyboardHeight(CGFloat height) { m_keyboardHeight = height; }

protected:
    friend Foundation::Construct;
    UIScreen() = default;

private:
    CGRect m_bounds {0, 0, 1440, 900};
    CGFloat m_scale = 2;
    CGFloat m_keyboardHeight = 0;
};

} // namespace UIKit
