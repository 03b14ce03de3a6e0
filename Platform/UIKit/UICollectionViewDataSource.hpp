#pragma once

#include "Platform/UIKit/CGSize.hpp"

#include <cstdint>

namespace UIKit {

class UICollectionView;

// Says how many items a collection view shows. Cells are not modelled: layouts need only the counts.
class UICollectionViewDataSource {
public:
    virtual ~UICollectionViewDataSource() = default;
    virtual std::int64_t numberOfSections(const UICollectionView&) const { return 1; }
    virtual std::int64_t numberOfItemsInSection(const UICollectionView& collectionView, std::int64_t section) const = 0;
};

} // namespace UIKit
