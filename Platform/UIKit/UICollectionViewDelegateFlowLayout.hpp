#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/CGSize.hpp"

#include <optional>

namespace UIKit {

class UICollectionView;
class UICollectionViewLayout;

// Per-item sizes for a flow layout; none falls back to the layout's `itemSize`.
class UICollectionViewDelegateFlowLayout {
public:
    virtual ~UICollectionViewDelegateFlowLayout() = default;
    virtual std::optional<CGSize> sizeForItemAt(const UICollectionView&, const UICollectionViewLayout&,
                                                const Foundation::IndexPath&) const
    {
        return std::nullopt;
    }
};

} // namespace UIKit
