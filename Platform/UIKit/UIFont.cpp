#include "Platform/UIKit/UIFont.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

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
