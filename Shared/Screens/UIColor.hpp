#pragma once

#include "Shared/Model/Settings.Appearance.hpp"

#include <memory>

namespace UIKit {
class UIColor;
}

namespace Shared {

// The program's palette. The plain colours follow light and dark appearance (dark in the user's chosen
// dark-mode style); the `for` forms are those of one appearance, so that a screen follows the colour
// scheme the user picked rather than the system's.
struct UIColors {
    // Text and glyphs: titles, then subtitles, then what recedes further.
    static const std::shared_ptr<UIKit::UIColor>& primaryTint();
    static const std::shared_ptr<UIKit::UIColor>& secondaryTint();
    static const std::shared_ptr<UIKit::UIColor>& tertiaryTint();
    static const std::shared_ptr<UIKit::UIColor>& deleteRed();

    // Pages, then the panels on them, then inputs and buttons on those.
    static const std::shared_ptr<UIKit::UIColor>& primaryBackground();
    static const std::shared_ptr<UIKit::UIColor>& secondaryBackground();
    static const std::shared_ptr<UIKit::UIColor>& tertiaryBackground();
    static const std::shared_ptr<UIKit::UIColor>& primaryLightSecondaryDarkBackground();

    static std::shared_ptr<UIKit::UIColor> primaryBackground(const Settings::Appearance& appearance);
    static std::shared_ptr<UIKit::UIColor> secondaryBackground(const Settings::Appearance& appearance);
    static std::shared_ptr<UIKit::UIColor> tertiaryBackground(const Settings::Appearance& appearance);
    static std::shared_ptr<UIKit::UIColor> primaryLightSecondaryDarkBackground(const Settings::Appearance& appearance);
};

} // namespace Shared
