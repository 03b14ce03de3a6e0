#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"

namespace UIKit {

// An immutable outline, recorded as the rectangle and corner radius it was made from, as a bezier path
// records them: our code only ever makes rectangles, rounded or not.
class CGPath : public Foundation::NSObject {
public:
    CGRect boundingBox() const { return m_boundingBox; }
    CGFloat cornerRadius() const { return m_cornerRadius; }

protected:
    friend Foundation::Construct;
    CGPath(const CGRect& rect, CGFloat cornerRadius)
        : m_boundingBox(rect)
        , m_cornerRadius(cornerRadius)
    {
    }

private:
    CGRect m_boundingBox;
    CGFloat m_cornerRadius;
};

} // namespace UIKit
