#pragma once

#include "Basalwork/Interface/TransitionContextError.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIViewControllerContextTransitioning.hpp"

#include <memory>
#include <typeinfo>

namespace Basalwork {

// The context's view for the key as a `T`; a missing view or one of another type fails with the
// unqualified type name and the key.
template <class T>
std::shared_ptr<T> view(const UIKit::UIViewControllerContextTransitioning& context, const UIKit::UITransitionContextViewKey& forKey)
{
    if (auto typed = std::dynamic_pointer_cast<T>(context.view(forKey)))
        return typed;
    throw TransitionContextError::failedToAccessViewForKey(Foundation::demangledTypeName(typeid(T).name()), forKey.rawValue);
}

template <class T>
std::shared_ptr<T> viewController(const UIKit::UIViewControllerContextTransitioning& context,
                                  const UIKit::UITransitionContextViewControllerKey& forKey)
{
    if (auto typed = std::dynamic_pointer_cast<T>(context.viewController(forKey)))
        return typed;
    throw TransitionContextError::failedToAccessViewControllerForKey(Foundation::demangledTypeName(typeid(T).name()),
                                                                     forKey.rawValue);
}

} // namespace Basalwork
