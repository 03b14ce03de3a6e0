#include "Platform/UIKit/UICollectionViewLayout.hpp"

namespace UIKit {

std::optional<std::vector<UICollectionViewLayout::Attributes>>
UICollectionViewLayout::layoutAttributesForElements(const CGRect&) const
{
    return std::nullopt;
}

UICollectionViewLayout::Attributes UICollectionViewLayout::layoutAttributesForItem(const Foundation::IndexPath&) const
{
    return nullptr;
}

} // namespace UIKit
