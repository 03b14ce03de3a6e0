#include "Platform/UIKit/UIContentSizeCategory.hpp"

#include <array>

namespace UIKit {

std::int64_t UIContentSizeCategory::sizeIndex() const
{
    static const std::array<UIContentSizeCategory, 12> ascending {
        extraSmall(),
        small(),
        medium(),
        large(),
        extraLarge(),
        extraExtraLarge(),
        extraExtraExtraLarge(),
        accessibilityMedium(),
        accessibilityLarge(),
        accessibilityExtraLarge(),
        accessibilityExtraExtraLarge(),
        accessibilityExtraExtraExtraLarge(),
    };
    for (std::size_t index = 0; index < ascending.size(); ++index)
        if (ascending[index].rawValue == rawValue)
            return static_cast<std::int64_t>(index);
    return -1;
}

} // namespace UIKit
