#include "Platform/UIKit/UINib.hpp"

#include "Platform/UIKit/InterfaceDocument.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

std::vector<std::shared_ptr<Foundation::NSObject>> UINib::instantiate(const std::shared_ptr<Foundation::NSObject>&) const
{
    auto document = InterfaceDocument::read(m_name, m_bundle, "nib");
    std::vector<std::shared_ptr<Foundation::NSObject>> objects;
    for (std::size_t index = 0; index < document.objects().size(); ++index)
        objects.push_back(document.instantiate(index));
    for (const auto& object : objects)
        if (auto view = std::dynamic_pointer_cast<UIView>(object))
            view->awakeFromNib();
    return objects;
}

} // namespace UIKit
