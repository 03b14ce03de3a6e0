#include "Basalwork/Interface/AlignedFlowLayout.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UICollectionView.hpp"

#include <algorithm>
#include <limits>

namespace Basalwork {

using UIKit::CGFloat;
using UIKit::CGRect;
using UIKit::UICollectionViewFlowLayout;
using UIKit::UICollectionViewLayoutAttributes;

AlignedFlowLayout::EffectiveHorizontalAlignment AlignedFlowLayout::effectiveHorizontalAlignment() const
{
    const bool rightToLeft = UIKit::UIApplication::shared()->userInterfaceLayoutDirection()
        == UIKit::UIUserInterfaceLayoutDirection::rightToLeft;
    switch (horizontalAlignment()) {
    case HorizontalAlignment::left: return EffectiveHorizontalAlignment::left;
    case HorizontalAlignment::right: return EffectiveHorizontalAlignment::right;
    case HorizontalAlignment::leading:
        return rightToLeft ? EffectiveHorizontalAlignment::right : EffectiveHorizontalAlignment::left;
    case HorizontalAlignment::trailing:
        return rightToLeft ? EffectiveHorizontalAlignment::left : EffectiveHorizontalAlignment::right;
    case HorizontalAlignment::justified: break;
    }
    return EffectiveHorizontalAlignment::justified;
}

CGFloat AlignedFlowLayout::contentWidth() const
{
    auto view = collectionView();
    return view ? view->frame().width() - sectionInset().left - sectionInset().right : 0;
}

CGRect AlignedFlowLayout::lineRect(const UICollectionViewLayoutAttributes& item) const
{
    return {sectionInset().left, item.frame().minY(), contentWidth(), item.frame().height()};
}

bool AlignedFlowLayout::isFrame(const UICollectionViewLayoutAttributes& a,
                                const UICollectionViewLayoutAttributes& inSameLineAsFrameFor) const
{
    if (!collectionView())
        return false;
    return lineRect(a).intersects(inSameLineAsFrameFor.frame());
}

std::vector<AlignedFlowLayout::Attributes> AlignedFlowLayout::layoutAttributes(const Attributes& forItemsInLineWith) const
{
    if (!collectionView())
        return {forItemsInLineWith};
    // Only cells: a header touching the line would otherwise set its top.
    std::vector<Attributes> items;
    for (auto& element : UICollectionViewFlowLayout::layoutAttributesForElements(lineRect(*forItemsInLineWith))
                             .value_or(std::vector<Attributes> {}))
        if (element->representedElementCategory() == UIKit::UICollectionElementCategory::cell)
            items.push_back(element);
    return items;
}

std::optional<AlignedFlowLayout::AlignmentAxis<VerticalAlignment>>
AlignedFlowLayout::verticalAlignmentAxisForLine(const std::vector<Attributes>& with) const
{
    if (with.empty())
        return std::nullopt;
    const auto alignment = verticalAlignment();
    switch (alignment) {
    case VerticalAlignment::top: {
        CGFloat minY = std::numeric_limits<CGFloat>::max();
        for (const auto& item : with)
            minY = std::min(minY, item->frame().minY());
        return AlignmentAxis<VerticalAlignment> {alignment, minY};
    }
    case VerticalAlignment::center: return AlignmentAxis<VerticalAlignment> {alignment, with.front()->frame().midY()};
    case VerticalAlignment::bottom: {
        CGFloat maxY = 0;
        for (const auto& item : with)
            maxY = std::max(maxY, item->frame().maxY());
        return AlignmentAxis<VerticalAlignment> {alignment, maxY};
    }
    }
    return std::nullopt;
}

AlignedFlowLayout::Attributes AlignedFlowLayout::originalLayoutAttribute(const Foundation::IndexPath& forItemAt) const
{
    return UICollectionViewFlowLayout::layoutAttributesForItem(forItemAt);
}

AlignedFlowLayout::Attributes AlignedFlowLayout::layoutAttributesForItem(const Foundation::IndexPath& at) const
{
    auto original = originalLayoutAttribute(at);
    if (!original)
        return nullptr;
    auto item = original->copy();
    setFrame(*item);
    return item;
}

void AlignedFlowLayout::setFrame(UICollectionViewLayoutAttributes& item) const
{
    const auto path = item.indexPath();
    CGRect frame = item.frame();

    if (horizontalAlignment() != HorizontalAlignment::justified) {
        switch (effectiveHorizontalAlignment()) {
        case EffectiveHorizontalAlignment::left: {
            auto previousPath = Foundation::IndexPath::withItem(path.item() - 1, path.section());
            auto previous = path.item() == 0 ? nullptr : originalLayoutAttribute(previousPath);
            if (!previous || !isFrame(item, *previous)) {
                frame.origin.x = sectionInset().left;
            } else if (auto aligned = layoutAttributesForItem(previousPath)) {
                // Recursion runs back along the line to its first item.
                frame.origin.x = aligned->frame().maxX() + minimumInteritemSpacing();
            }
            break;
        }
        case EffectiveHorizontalAlignment::right: {
            auto view = collectionView();
            if (!view)
                break;
            auto nextPath = Foundation::IndexPath::withItem(path.item() + 1, path.section());
            auto next = path.item() >= view->numberOfItems(path.section()) - 1 ? nullptr : originalLayoutAttribute(nextPath);
            if (!next || !isFrame(item, *next)) {
                frame.origin.x = view->frame().width() - sectionInset().right - frame.width();
            } else if (auto aligned = layoutAttributesForItem(nextPath)) {
                frame.origin.x = aligned->frame().minX() - minimumInteritemSpacing() - frame.width();
            }
            break;
        }
        case EffectiveHorizontalAlignment::justified: break;
        }
    }

    if (verticalAlignment() != VerticalAlignment::center) {
        // A line the flow layout reports nothing for has no axis; the item stays where it is.
        auto original = item.copy();
        if (auto axis = verticalAlignmentAxisForLine(layoutAttributes(original))) {
            if (axis->alignment == VerticalAlignment::top)
                frame.origin.y = axis->position;
            else if (axis->alignment == VerticalAlignment::bottom)
                frame.origin.y = axis->position - frame.height();
        }
    }
    item.setFrame(frame);
}

std::optional<std::vector<AlignedFlowLayout::Attributes>> AlignedFlowLayout::layoutAttributesForElements(const CGRect& in) const
{
    auto originals = UICollectionViewFlowLayout::layoutAttributesForElements(in);
    if (!originals)
        return std::nullopt;
    std::vector<Attributes> result;
    result.reserve(originals->size());
    for (const auto& original : *originals) {
        auto copy = original->copy();
        if (copy->representedElementCategory() == UIKit::UICollectionElementCategory::cell)
            if (auto aligned = layoutAttributesForItem(copy->indexPath()))
                copy->setFrame(aligned->frame());
        result.push_back(copy);
    }
    return result;
}

} // namespace Basalwork
