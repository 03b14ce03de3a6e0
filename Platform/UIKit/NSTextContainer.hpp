#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"

namespace UIKit {

// The region a text view lays its text out in; only the padding at the ends of each line matters here.
class NSTextContainer : public Foundation::NSObject {
public:
    CGFloat lineFragmentPadding() const { return m_lineFragmentPadding; }
    void setLineFragmentPadding(CGFloat padding) { m_lineFragmentPadding = padding; }

protected:
    friend Foundation::Construct;
    NSTextContainer() = default;

private:
    CGFloat m_lineFragmentPadding = 5;
};

} // namespace UIKit
