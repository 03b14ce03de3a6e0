#include "Platform/UIKit/UIStoryboard.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIViewController.hpp"

namespace UIKit {
namespace {

std::optional<std::size_t> indexOf(const InterfaceDocument& document, const std::string& identifier)
{
    const auto& objects = document.objects();
    for (std::size_t index = 0; index < objects.size(); ++index)
        if (objects[index].identifier == identifier)
            return index;
    return std::nullopt;
}

} // namespace

std::shared_ptr<UIViewController> UIStoryboard::instantiateInitialViewController() const
{
    const auto& initial = m_document.initialIdentifier();
    if (!initial)
        return nullptr;
    auto index = indexOf(m_document, *initial);
    return index ? instantiate(*index) : nullptr;
}

std::shared_ptr<UIViewController> UIStoryboard::instantiateViewController(const Foundation::String& withIdentifier) const
{
    const std::string identifier(withIdentifier.view());
    auto index = indexOf(m_document, identifier);
    if (!index)
        Foundation::fatalError("Storyboard (" + m_document.name()
                               + ") doesn't contain a view controller with identifier '" + identifier + "'");
    return instantiate(*index);
}

std::shared_ptr<UIViewController> UIStoryboard::instantiate(std::size_t index) const
{
    auto controller = std::dynamic_pointer_cast<UIViewController>(m_document.instantiate(index));
    if (!controller)
        Foundation::fatalError("Storyboard (" + m_document.name() + ") names " + m_document.objects()[index].className
                               + ", which is not a view controller");
    return controller;
}

} // namespace UIKit
