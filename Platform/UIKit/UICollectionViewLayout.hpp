#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UICollectionViewLayoutAttributes.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class NSCoder;
}

namespace UIKit {

class UICollectionView;

// Places a collection view's elements. The collection view owns its layout; the layout points back weakly.
class UICollectionViewLayout : public Foundation::NSObject {
public:
    using Attributes = std::shared_ptr<UICollectionViewLayoutAttributes>;

    std::shared_ptr<UICollectionView> collectionView() const { return m_collectionView.lock(); }

    // The elements whose frames meet the rectangle; none when the layout has nothing to say.
    virtual std::optional<std::vector<Attributes>> layoutAttributesForElements(const CGRect& in) const;
    // None for an item the layout does not know.
    virtual Attributes layoutAttributesForItem(const Foundation::IndexPath& at) const;
    virtual CGSize collectionViewContentSize() const { return {}; }
    // Drops what the layout computed; the next query computes again.
    virtual void invalidateLayout() {}

protected:
    friend Foundation::Construct;
    UICollectionViewLayout() = default;
    explicit UICollectionViewLayout(Foundation::NSCoder& /*coder*/) {}

private:
    friend class UICollectionView;
    std::weak_ptr<UICollectionView> m_collectionView;
};

} // namespace UIKit
