// The parent is included outside the guard: its closing includes then define the nested types in the
// order they depend on one another, whichever of them a file includes first.
#include "Platform/UIKit/UIFontDescriptor.hpp"

#ifndef UIKIT_UIFONTDESCRIPTOR_SYSTEMDESIGN_HPP
#define UIKIT_UIFONTDESCRIPTOR_SYSTEMDESIGN_HPP

#include "Platform/Foundation/String.hpp"

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

#endif // UIKIT_UIFONTDESCRIPTOR_SYSTEMDESIGN_HPP
