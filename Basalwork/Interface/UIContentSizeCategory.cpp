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

#include "Platform/Foundation/NotificationCenter.hpp"

namespace Basalwork {
namespace {

std::optional<UIKit::UIContentSizeCategory> minimumBound;
std::optional<UIKit::UIContentSizeCategory> maximumBound;

void replaceBound(std::optional<UIKit::UIContentSizeCategory>& bound, std::optional<UIKit::UIContentSizeCategory> value)
{
    const bool changed = bound != value;
    bound = std::move(value);
    if (changed)
        postPreferredContextSizeCategoryDidChangeNotification();
}

} // namespace

const std::optional<UIKit::UIContentSizeCategory>& globalMinimum()
{
    return minimumBound;
}

void setGlobalMinimum(std::optional<UIKit::UIContentSizeCategory> category)
{
    replaceBound(minimumBound, std::move(category));
}

const std::optional<UIKit::UIContentSizeCategory>& globalMaximum()
{
    return maximumBound;
}

void setGlobalMaximum(std::optional<UIKit::UIContentSizeCategory> category)
{
    replaceBound(maximumBound, std::move(category));
}

void postPreferredContextSizeCategoryDidChangeNotification()
{
    Foundation::NotificationCenter::defaultCenter()->post(UIKit::UIContentSizeCategory::didChangeNotification());
}

UIKit::UIContentSizeCategory clampedToGlobalBounds(const UIKit::UIContentSizeCategory& category)
{
    if (minimumBound && maximumBound && *minimumBound > *maximumBound)
        return category;
    auto clamped = category;
    if (maximumBound && *maximumBound < clamped)
        clamped = *maximumBound;
    if (minimumBound && *minimumBound >= clamped)
        clamped = *minimumBound;
    return clamped;
}

} // namespace Basalwork
