#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGSize.hpp"

#include <algorithm>

namespace Basalwork {

// Initialisers of CGSize.
struct CGSizes {
    // init(widthAndHeight:): a square.
    static constexpr UIKit::CGSize withWidthAndHeight(UIKit::CGFloat widthAndHeight)
    {
        return {widthAndHeight, widthAndHeight};
    }
};

// On the stored size: a negative size is not normalised first.
constexpr bool isWiderThanTall(UIKit::CGSize size)
{
    return size.height < size.width;
}

constexpr bool isTallerThanWide(UIKit::CGSize size)
{
    return size.width < size.height;
}

constexpr UIKit::CGFloat minDimension(UIKit::CGSize size)
{
    return std::min(size.width, size.height);
}

constexpr UIKit::CGSize scaled(UIKit::CGSize size, UIKit::CGFloat by)
{
    return {size.width * by, size.height * by};
}

constexpr UIKit::CGSize scaledBy(UIKit::CGSize size, UIKit::CGFloat x, UIKit::CGFloat y)
{
    return {size.width * x, size.height * y};
}

// Each dimension shrinks by the amount once, not once per side as a rectangle's inset would.
constexpr UIKit::CGSize inset(UIKit::CGSize size, UIKit::CGFloat by)
{
    return {size.width - by, size.height - by};
}

constexpr UIKit::CGSize insetBy(UIKit::CGSize size, UIKit::CGFloat x, UIKit::CGFloat y)
{
    return {size.width - x, size.height - y};
}

} // namespace Basalwork
