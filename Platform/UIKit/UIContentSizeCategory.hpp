#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

#include <compare>
#include <cstdint>

namespace UIKit {

// The user's preferred text size, named by its raw text.
struct UIContentSizeCategory {
    Foundation::String rawValue;

    static UIContentSizeCategory unspecified() { return {"_UICTContentSizeCategoryUnspecified"}; }
    static UIContentSizeCategory extraSmall() { return {"UICTContentSizeCategoryXS"}; }
    static UIContentSizeCategory small() { return {"UICTContentSizeCategoryS"}; }
    static UIContentSizeCategory medium() { return {"UICTContentSizeCategoryM"}; }
    static UIContentSizeCategory large() { return {"UICTContentSizeCategoryL"}; }
    static UIContentSizeCategory extraLarge() { return {"UICTContentSizeCategoryXL"}; }
    static UIContentSizeCategory extraExtraLarge() { return {"UICTContentSizeCategoryXXL"}; }
    static UIContentSizeCategory extraExtraExtraLarge() { return {"UICTContentSizeCategoryXXXL"}; }
    static UIContentSizeCategory accessibilityMedium() { return {"UICTContentSizeCategoryAccessibilityM"}; }
    static UIContentSizeCategory accessibilityLarge() { return {"UICTContentSizeCategoryAccessibilityL"}; }
    static UIContentSizeCategory accessibilityExtraLarge() { return {"UICTContentSizeCategoryAccessibilityXL"}; }
    static UIContentSizeCategory accessibilityExtraExtraLarge() { return {"UICTContentSizeCategoryAccessibilityXXL"}; }
    static UIContentSizeCategory accessibilityExtraExtraExtraLarge()
    {
        return {"UICTContentSizeCategoryAccessibilityXXXL"};
    }

    // Posted when the user picks another text size.
    static Foundation::Notification::Name didChangeNotification()
    {
        return Foundation::Notification::Name("UIContentSizeCategoryDidChangeNotification");
    }

    friend bool operator==(const UIContentSizeCategory&, const UIContentSizeCategory&) = default;

    // Position from extra small (0) to the largest accessibility size (11); -1 for unspecified and for
    // any text that names no size, so those order below every size.
    std::int64_t sizeIndex() const;
    // Categories order by size.
    friend std::weak_ordering operator<=>(const UIContentSizeCategory& left, const UIContentSizeCategory& right)
    {
        return left.sizeIndex() <=> right.sizeIndex();
    }
};

} // namespace UIKit
