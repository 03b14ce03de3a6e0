#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

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
};

} // namespace UIKit
