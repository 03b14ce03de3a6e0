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

protected:
    friend Foundation::Construct;
    UIScreen() = default;

private:
    CGRect m_bounds {0, 0, 1440, 900};
    CGFloat m_scale = 2;
};

} // namespace UIKit
