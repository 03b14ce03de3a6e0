#include "Platform/UIKit/UIFont.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <cmath>

namespace UIKit {

UIFont::UIFont(const std::shared_ptr<UIFontDescriptor>& descriptor, CGFloat size)
{
    Foundation::precondition(descriptor != nullptr, "A font needs a descriptor");
    if (size > 0) {
        UIFontDescriptor::Attributes sized;
        sized.size = size;
        m_fontDescriptor = descriptor->addingAttributes(sized);
    } else {
        m_fontDescriptor = descriptor;
    }
    m_pointSize = m_fontDescriptor->pointSize();
}

std::shared_ptr<UIFont> UIFont::preferredFont(const TextStyle& forTextStyle)
{
    return Foundation::make<UIFont>(UIFontDescriptor::preferredFontDescriptor(forTextStyle), 0.0);
}

} // namespace UIKit

namespace UIKit {
namespace {

// Body text at each size from extra small up; every style scales by the same ratio.
constexpr CGFloat bodySizes[] = {14, 15, 16, 17, 19, 21, 23, 28, 33, 40, 47, 53};
constexpr CGFloat largeBodySize = 17;

} // namespace

std::shared_ptr<UIFont> UIFont::preferredFont(const TextStyle& forTextStyle, const UITraitCollection& compatibleWith)
{
    auto descriptor = UIFontDescriptor::preferredFontDescriptor(forTextStyle);
    const auto index = compatibleWith.preferredContentSizeCategory.sizeIndex();
    const CGFloat body = index < 0 ? largeBodySize : bodySizes[index];
    const CGFloat size = std::round(descriptor->pointSize() * body / largeBodySize);
    return Foundation::make<UIFont>(descriptor, size);
}

std::shared_ptr<UIFont> UIFont::systemFont(CGFloat ofSize)
{
    UIFontDescriptor::Attributes attributes;
    attributes.size = ofSize;
    return Foundation::make<UIFont>(Foundation::make<UIFontDescriptor>(attributes), 0.0);
}

std::shared_ptr<UIFont> UIFont::withSize(CGFloat fontSize) const
{
    return Foundation::make<UIFont>(m_fontDescriptor, fontSize);
}

} // namespace UIKit
