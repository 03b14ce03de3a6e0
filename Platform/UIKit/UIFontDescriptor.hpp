#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <memory>

namespace UIKit {

// An immutable description of a font by its attributes. A descriptor without a face name describes the
// system font, which comes in every weight, symbolic trait and system design; a named face is that one
// face only.
class UIFontDescriptor : public Foundation::NSObject {
public:
    struct Attributes;
    struct SymbolicTraits;
    struct SystemDesign;
    struct Traits;

    // preferredFontDescriptor(withTextStyle:): the system font of the style at the large text size.
    static std::shared_ptr<UIFontDescriptor> preferredFontDescriptor(const UIFont::TextStyle& withTextStyle);

    const Attributes& fontAttributes() const { return *m_attributes; }
    // The size attribute, or 0 without one.
    CGFloat pointSize() const;
    SymbolicTraits symbolicTraits() const;

    // Each attribute given replaces the one held, whole: new traits replace all the old traits.
    std::shared_ptr<UIFontDescriptor> addingAttributes(const Attributes& attributes) const;
    // The same font with exactly these symbolic traits; nothing for a named face.
    std::shared_ptr<UIFontDescriptor> withSymbolicTraits(SymbolicTraits symbolicTraits) const;
    // The system font in that design; nothing for a named face.
    std::shared_ptr<UIFontDescriptor> withDesign(const SystemDesign& design) const;

protected:
    friend Foundation::Construct;
    // init(fontAttributes:)
    explicit UIFontDescriptor(const Attributes& attributes);

private:
    bool isSystemFont() const;

    std::shared_ptr<const Attributes> m_attributes; // complete only after this class
};

} // namespace UIKit

#include "Platform/UIKit/UIFontDescriptor.SymbolicTraits.hpp"
#include "Platform/UIKit/UIFontDescriptor.SystemDesign.hpp"
#include "Platform/UIKit/UIFontDescriptor.Traits.hpp"
#include "Platform/UIKit/UIFontDescriptor.Attributes.hpp"
