#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

namespace UIKit {

// A design of the system font, named by its raw text.
struct UIFontDescriptor::SystemDesign {
    Foundation::String rawValue;

    static SystemDesign default_() { return {"NSCTFontUIFontDesignDefault"}; }
    static SystemDesign rounded() { return {"NSCTFontUIFontDesignRounded"}; }
    static SystemDesign monospaced() { return {"NSCTFontUIFontDesignMonospaced"}; }
    static SystemDesign serif() { return {"NSCTFontUIFontDesignSerif"}; }

    friend bool operator==(const SystemDesign&, const SystemDesign&) = default;
};

} // namespace UIKit
