#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/NSDirectionalEdgeInsets.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

struct UIButtonConfigurations {
    // A plain configuration showing the title, and the subtitle when there is one, in the font, with the
    // text colour as its foreground (none when it is nil). Background colour, corner style, border and
    // insets are set only when given, so the plain style keeps its own otherwise.
    static UIKit::UIButton::Configuration withTitle(
        const Foundation::String& title, const std::optional<Foundation::String>& subtitle = std::nullopt,
        const std::shared_ptr<UIKit::UIColor>& textColor = nullptr,
        const std::shared_ptr<UIKit::UIFont>& font = nullptr,
        const std::shared_ptr<UIKit::UIColor>& backgroundColor = nullptr,
        std::optional<UIKit::UIButton::Configuration::CornerStyle> cornerStyle = std::nullopt,
        const std::shared_ptr<UIKit::UIColor>& borderColor = nullptr,
        std::optional<UIKit::CGFloat> borderWidth = std::nullopt,
        std::optional<UIKit::NSDirectionalEdgeInsets> contentInsets = std::nullopt);
};

} // namespace Basalwork
