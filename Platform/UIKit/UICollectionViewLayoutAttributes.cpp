#include "Platform/UIKit/UICollectionViewLayoutAttributes.hpp"

namespace UIKit {

std::shared_ptr<UICollectionViewLayoutAttributes> UICollectionViewLayoutAttributes::forCell(Foundation::IndexPath indexPath)
{
    return Foundation::make<UICollectionViewLayoutAttributes>(indexPath, UICollectionElementCategory::cell, std::nullopt);
}

std::shared_ptr<UICollectionViewLayoutAttributes>
UICollectionViewLayoutAttributes::forSupplementaryView(Foundation::String kind, Foundation::IndexPath indexPath)
{
    return Foundation::make<UICollectionViewLayoutAttributes>(indexPath, UICollectionElementCategory::supplementaryView,
                                                              std::move(kind));
}

std::shared_ptr<UICollectionViewLayoutAttributes> UICollectionViewLayoutAttributes::copy() const
{
    auto result = Foundation::make<UICollectionViewLayoutAttributes>(m_indexPath, m_category, m_kind);
    result->m_frame = m_frame;
    return result;
}

} // namespace UIKit
