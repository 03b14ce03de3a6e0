#include "Basalwork/Interface/UIContentSizeCategory.hpp"

#include <array>

namespace Basalwork {

UIKit::UIContentSizeCategory oneLower(const UIKit::UIContentSizeCategory& category)
{
    using Category = UIKit::UIContentSizeCategory;
    static const std::array<Category, 12> ascending {
        Category::extraSmall(),
        Category::small(),
        Category::medium(),
        Category::large(),
        Category::extraLarge(),
        Category::extraExtraLarge(),
        Category::extraExtraExtraLarge(),
        Category::accessibilityMedium(),
        Category::accessibilityLarge(),
        Category::accessibilityExtraLarge(),
        Category::accessibilityExtraExtraLarge(),
        Category::accessibilityExtraExtraExtraLarge(),
    };
    for (std::size_t index = 1; index < ascending.size(); ++index)
        if (ascending[index] == category)
            return ascending[index - 1];
    return category;
}

} // namespace Basalwork
