#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <memory>

namespace UIKit {

class UIFontDescriptor;

// A font: a descriptor and a point size. Nothing is drawn, so a font is what its descriptor records.
class UIFont : public Foundation::NSObject {
public:
    struct TextStyle;
    struct Weight;

    // The system font of a text style at the large text size, the size every style is designed for.
    static std::shared_ptr<UIFont> preferredFont(const TextStyle& forTextStyle);
    // preferredFont(forTextStyle:compatibleWith:): the style's font scaled to the collection's text size;
    // an unspecified size reads as large.
    static std::shared_ptr<UIFont> preferredFont(const TextStyle& forTextStyle, const UITraitCollection& compatibleWith);
    // systemFont(ofSize:): the system font, at that size and in no text style.
    static std::shared_ptr<UIFont> systemFont(CGFloat ofSize);
    // The same font, its text style included, at another size.
    std::shared_ptr<UIFont> withSize(CGFloat fontSize) const;

    const std::shared_ptr<UIFontDescriptor>& fontDescriptor() const { return m_fontDescriptor; }
    CGFloat pointSize() const { return m_pointSize; }

protected:
    friend Foundation::Construct;
    // init(descriptor:size:): a size of zero or less keeps the descriptor's own size.
    UIFont(const std::shared_ptr<UIFontDescriptor>& descriptor, CGFloat size);

private:
    std::shared_ptr<UIFontDescriptor> m_fontDescriptor;
    CGFloat m_pointSize = 0;
};

} // namespace UIKit

#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UIFont.Weight.hpp"
