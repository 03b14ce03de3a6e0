#pragma once

#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <memory>

namespace Basalwork {

// The preferred font of each text style.
struct UIFonts {
    static std::shared_ptr<UIKit::UIFont> largeTitle();
    static std::shared_ptr<UIKit::UIFont> title1();
    static std::shared_ptr<UIKit::UIFont> title2();
    static std::shared_ptr<UIKit::UIFont> title3();
    static std::shared_ptr<UIKit::UIFont> headline();
    static std::shared_ptr<UIKit::UIFont> callout();
    static std::shared_ptr<UIKit::UIFont> subheadline();
    static std::shared_ptr<UIKit::UIFont> body();
    static std::shared_ptr<UIKit::UIFont> footnote();
    static std::shared_ptr<UIKit::UIFont> caption1();
    static std::shared_ptr<UIKit::UIFont> caption2();
};

// with(weight:): the font at its own size with that weight as its only trait; other traits (italic)
// are dropped.
std::shared_ptr<UIKit::UIFont> withWeight(const std::shared_ptr<UIKit::UIFont>& font, UIKit::UIFont::Weight weight);
std::shared_ptr<UIKit::UIFont> ultraLight(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> thin(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> light(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> regular(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> medium(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> semibold(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> bold(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> heavy(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> black(const std::shared_ptr<UIKit::UIFont>& font);

// The font at its own size with italic as its only symbolic trait; the font itself when it has no such
// variant.
std::shared_ptr<UIKit::UIFont> italicized(const std::shared_ptr<UIKit::UIFont>& font);

// with(design:): the font at its own size in that system design; the font itself when it has no such
// variant.
std::shared_ptr<UIKit::UIFont> withDesign(const std::shared_ptr<UIKit::UIFont>& font,
                                          const UIKit::UIFontDescriptor::SystemDesign& design);
std::shared_ptr<UIKit::UIFont> rounded(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> monospaced(const std::shared_ptr<UIKit::UIFont>& font);
std::shared_ptr<UIKit::UIFont> serif(const std::shared_ptr<UIKit::UIFont>& font);

} // namespace Basalwork
