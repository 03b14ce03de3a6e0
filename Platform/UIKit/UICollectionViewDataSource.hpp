#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/CGSize.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UICollectionView;
class UICollectionViewCell;

// Says how many items a collection view shows, and gives the cell of an item when a layout measures
// items by their cells (none by default: layouts then need only the counts).
class UICollectionViewDataSource {
public:
    virtual ~UICollectionViewDataSource() = default;
    virtual std::int64_t numberOfSections(const UICollectionView&) const { return 1; }
    virtual std::int64_t numberOfItemsInSection(const UICollectionView& collectionView, std::int64_t section) const = 0;
    virtual std::shared_ptr<UICollectionViewCell> cellForItemAt(UICollectionView& /*collectionView*/,
                                                                const Foundation::IndexPath& /*indexPath*/) const
    {
        return nullptr;
    }
};

} // namespace UIKit
