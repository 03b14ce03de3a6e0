#pragma once

#include "Basalwork/Interface/NibLoadable.hpp"
#include "Basalwork/Interface/ReuseIdentifiable.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/UICollectionView.hpp"

#include <concepts>
#include <memory>
#include <source_location>

namespace Basalwork {

// register(reuseIdentifiableClass:): under the type's reuse identifier.
template <class T>
    requires std::derived_from<T, UIKit::UICollectionViewCell>
void registerReuseIdentifiableClass(UIKit::UICollectionView& collectionView)
{
    collectionView.registerCell<T>(reuseIdentifier<T>());
}

// registerNib(forClass:bundle:): cells made from the type's interface file, under its reuse identifier.
template <class T>
    requires std::derived_from<T, UIKit::UICollectionViewCell>
void registerNib(UIKit::UICollectionView& collectionView, const std::shared_ptr<Foundation::Bundle>& bundle)
{
    collectionView.registerCell(nib<T>(bundle), reuseIdentifier<T>());
}

// A cell of type T, dequeued under its reuse identifier; nothing of its type registered under it stops the
// program, reported at the caller.
template <class T>
    requires std::derived_from<T, UIKit::UICollectionViewCell>
std::shared_ptr<T> dequeueReusableCell(UIKit::UICollectionView& collectionView, const Foundation::IndexPath& for_,
                                       const std::source_location& location = std::source_location::current())
{
    const auto identifier = reuseIdentifier<T>();
    auto cell = std::dynamic_pointer_cast<T>(collectionView.dequeueReusableCell(identifier, for_));
    if (!cell)
        detail::couldNotDequeue(identifier, location);
    return cell;
}

} // namespace Basalwork
