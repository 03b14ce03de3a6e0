#pragma once

#include "Platform/UIKit/UICollectionViewLayout.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"

#include <optional>
#include <vector>

namespace UIKit {

// Lines items up in rows that break at the collection view's width, top to bottom. A row of several
// items spreads them to fill it; a row of one item centres it; items of a row meet at their centres.
// Section headers and footers span the width.
class UICollectionViewFlowLayout : public UICollectionViewLayout {
public:
    static const Foundation::String& elementKindSectionHeader();
    static const Foundation::String& elementKindSectionFooter();

    CGSize itemSize() const { return m_itemSize; }
    void setItemSize(CGSize size) { m_itemSize = size; invalidateLayout(); }
    // Items whose size the delegate does not give take their cell's fitting size when this is not zero,
    // measured from the estimate (or, for `automaticSize`, from the item size); zero: the item size.
    static constexpr CGSize automaticSize() { return {-1, -1}; }
    CGSize estimatedItemSize() const { return m_estimatedItemSize; }
    void setEstimatedItemSize(CGSize size) { m_estimatedItemSize = size; invalidateLayout(); }
    CGFloat minimumInteritemSpacing() const { return m_minimumInteritemSpacing; }
    void setMinimumInteritemSpacing(CGFloat spacing) { m_minimumInteritemSpacing = spacing; invalidateLayout(); }
    CGFloat minimumLineSpacing() const { return m_minimumLineSpacing; }
    void setMinimumLineSpacing(CGFloat spacing) { m_minimumLineSpacing = spacing; invalidateLayout(); }
    UIEdgeInsets sectionInset() const { return m_sectionInset; }
    void setSectionInset(const UIEdgeInsets& inset) { m_sectionInset = inset; invalidateLayout(); }
    CGSize headerReferenceSize() const { return m_headerReferenceSize; }
    void setHeaderReferenceSize(CGSize size) { m_headerReferenceSize = size; invalidateLayout(); }
    CGSize footerReferenceSize() const { return m_footerReferenceSize; }
    void setFooterReferenceSize(CGSize size) { m_footerReferenceSize = size; invalidateLayout(); }

    std::optional<std::vector<Attributes>> layoutAttributesForElements(const CGRect& in) const override;
    Attributes layoutAttributesForItem(const Foundation::IndexPath& at) const override;
    CGSize collectionViewContentSize() const override;
    void invalidateLayout() override { m_cache.reset(); }

protected:
    friend Foundation::Construct;
    UICollectionViewFlowLayout() = default;
    explicit UICollectionViewFlowLayout(Foundation::NSCoder& coder)
        : UICollectionViewLayout(coder)
    {
    }

private:
    struct Cache {
        CGFloat width = 0;
        std::vector<Attributes> elements;
        CGSize contentSize;
    };
    // Computed on first use and again once invalidated or the collection view's width changed.
    const Cache* cache() const;
    Cache compute() const;

    CGSize measuredSize(UICollectionView& view, const Foundation::IndexPath& path) const;

    CGSize m_itemSize {50, 50};
    CGSize m_estimatedItemSize;
    CGFloat m_minimumInteritemSpacing = 10;
    CGFloat m_minimumLineSpacing = 10;
    UIEdgeInsets m_sectionInset;
    CGSize m_headerReferenceSize;
    CGSize m_footerReferenceSize;
    mutable std::optional<Cache> m_cache;
};

} // namespace UIKit
