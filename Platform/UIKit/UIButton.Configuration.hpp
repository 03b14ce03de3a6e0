#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/UIKit/NSDirectionalEdgeInsets.hpp"
#include "Platform/UIKit/UIBackgroundConfiguration.hpp"
#include "Platform/UIKit/UIButton.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UIColor;

// Everything a configured button shows, as a value: set it on the button again to apply a change.
struct UIButton::Configuration {
    enum class CornerStyle : std::int64_t {
        fixed = -1,
        dynamic = 0,
        small = 1,
        medium = 2,
        large = 3,
        capsule = 4,
    };

    // The plain style: no background, corners that follow the text size.
    static Configuration plain() { return {}; }

    std::shared_ptr<Foundation::NSAttributedString> attributedTitle;
    std::shared_ptr<Foundation::NSAttributedString> attributedSubtitle;
    std::shared_ptr<UIColor> baseForegroundColor;
    UIBackgroundConfiguration background;
    CornerStyle cornerStyle = CornerStyle::dynamic;
    NSDirectionalEdgeInsets contentInsets;

    friend bool operator==(const Configuration&, const Configuration&) = default;
};

} // namespace UIKit
