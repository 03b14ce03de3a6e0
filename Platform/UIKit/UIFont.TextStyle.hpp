#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIFont.hpp"

namespace UIKit {

// A role of text (body, headline, ...), named by its raw text.
struct UIFont::TextStyle {
    Foundation::String rawValue;

    static TextStyle largeTitle() { return {"UICTFontTextStyleTitle0"}; }
    static TextStyle title1() { return {"UICTFontTextStyleTitle1"}; }
    static TextStyle title2() { return {"UICTFontTextStyleTitle2"}; }
    static TextStyle title3() { return {"UICTFontTextStyleTitle3"}; }
    static TextStyle headline() { return {"UICTFontTextStyleHeadline"}; }
    static TextStyle subheadline() { return {"UICTFontTextStyleSubhead"}; }
    static TextStyle body() { return {"UICTFontTextStyleBody"}; }
    static TextStyle callout() { return {"UICTFontTextStyleCallout"}; }
    static TextStyle footnote() { return {"UICTFontTextStyleFootnote"}; }
    static TextStyle caption1() { return {"UICTFontTextStyleCaption1"}; }
    static TextStyle caption2() { return {"UICTFontTextStyleCaption2"}; }

    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

} // namespace UIKit
