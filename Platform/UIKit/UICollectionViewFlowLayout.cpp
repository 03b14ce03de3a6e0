#include "Platform/UIKit/UICollectionViewFlowLayout.hpp"

#include "Platform/UIKit/UICollectionView.hpp"
#include "Platform/UIKit/UICollectionViewDataSource.hpp"

#include <algorithm>

namespace UIKit {

const Foundation::String& UICollectionViewFlowLayout::elementKindSectionHeader()
{
    static const Foundation::String kind("UICollectionElementKindSectionHeader");
    return kind;
}

const Foundation::String& UICollectionViewFlowLayout::elementKindSectionFooter()
{
    static const Foundation::String kind("UICollectionElementKindSectionFooter");
    return kind;
}

const UICollectionViewFlowLayout::Cache* UICollectionViewFlowLayout::cache() const
{
    auto view = collectionView();
    if (!view)
        return nullptr;
    if (!m_cache || m_cache->width != view->bounds().width())
        m_cache = compute();
    return &*m_cache;
}

UICollectionViewFlowLayout::Cache UICollectionViewFlowLayout::compute() const
{
    auto view = collectionView();
    Cache result;
    result.width = view->bounds().width();
    auto delegate = view->delegate().lock();
    const CGFloat available = result.width - m_sectionInset.left - m_sectionInset.right;
    CGFloat y = 0;

    for (std::int64_t section = 0; section < view->numberOfSections(); ++section) {
        if (m_headerReferenceSize.height > 0) {
            auto header = UICollectionViewLayoutAttributes::forSupplementaryView(elementKindSectionHeader(),
                                                                                 Foundation::IndexPath::withItem(0, section));
            header->setFrame({0, y, result.width, m_headerReferenceSize.height});
            result.elements.push_back(header);
            y += m_headerReferenceSize.height;
        }
        y += m_sectionInset.top;

        const std::int64_t count = view->numberOfItems(section);
        std::int64_t item = 0;
        bool firstLine = true;
        while (item < count) {
            // Greedy line breaking: an item that does not fit starts the next line, except as a line's first.
            std::vector<std::pair<std::int64_t, CGSize>> line;
            CGFloat used = 0;
            for (; item < count; ++item) {
                auto path = Foundation::IndexPath::withItem(item, section);
                std::optional<CGSize> given;
                if (delegate)
                    given = delegate->sizeForItemAt(*view, *this, path);
                CGSize size = given ? *given : m_estimatedItemSize != CGSize {} ? measuredSize(*view, path) : m_itemSize;
                CGFloat needed = line.empty() ? size.width : used + m_minimumInteritemSpacing + size.width;
                if (!line.empty() && needed > available)
                    break;
                used = needed;
                line.emplace_back(item, size);
            }
            if (!firstLine)
                y += m_minimumLineSpacing;
            firstLine = false;

            CGFloat lineHeight = 0;
            for (const auto& entry : line)
                lineHeight = std::max(lineHeight, entry.second.height);
            CGFloat x = m_sectionInset.left;
            CGFloat gap = m_minimumInteritemSpacing;
            if (line.size() == 1)
                x += (available - line.front().second.width) / 2;
            else
                gap += (available - used) / static_cast<CGFloat>(line.size() - 1);
            for (const auto& [index, size] : line) {
                auto cell = UICollectionViewLayoutAttributes::forCell(Foundation::IndexPath::withItem(index, section));
                cell->setFrame({x, y + (lineHeight - size.height) / 2, size.width, size.height});
                result.elements.push_back(cell);
                x += size.width + gap;
            }
            y += lineHeight;
        }
        y += m_sectionInset.bottom;

        if (m_footerReferenceSize.height > 0) {
            auto footer = UICollectionViewLayoutAttributes::forSupplementaryView(elementKindSectionFooter(),
                                                                                 Foundation::IndexPath::withItem(0, section));
            footer->setFrame({0, y, result.width, m_footerReferenceSize.height});
            result.elements.push_back(footer);
            y += m_footerReferenceSize.height;
        }
    }
    result.contentSize = {result.width, y};
    return result;
}

CGSize UICollectionViewFlowLayout::measuredSize(UICollectionView& view, const Foundation::IndexPath& path) const
{
    const CGSize estimate = m_estimatedItemSize == automaticSize() ? m_itemSize : m_estimatedItemSize;
    auto source = view.dataSource().lock();
    auto cell = source ? source->cellForItemAt(view, path) : nullptr;
    if (!cell)
        return estimate;
    return cell->systemLayoutSizeFitting(estimate, UILayoutPriority::fittingSizeLevel(), UILayoutPriority::fittingSizeLevel());
}

std::optional<std::vector<UICollectionViewLayout::Attributes>>
UICollectionViewFlowLayout::layoutAttributesForElements(const CGRect& in) const
{
    const Cache* computed = cache();
    if (!computed)
        return std::nullopt;
    std::vector<Attributes> result;
    for (const auto& element : computed->elements)
        if (element->frame().intersects(in))
            result.push_back(element);
    return result;
}

UICollectionViewLayout::Attributes UICollectionViewFlowLayout::layoutAttributesForItem(const Foundation::IndexPath& at) const
{
    const Cache* computed = cache();
    if (!computed)
        return nullptr;
    for (const auto& element : computed->elements)
        if (element->representedElementCategory() == UICollectionElementCategory::cell && element->indexPath() == at)
            return element;
    return nullptr;
}

CGSize UICollectionViewFlowLayout::collectionViewContentSize() const
{
    const Cache* computed = cache();
    return computed ? computed->contentSize : CGSize {};
}

} // namespace UIKit
