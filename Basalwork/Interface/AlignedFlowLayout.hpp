#pragma once

#include "Basalwork/Interface/Alignment.hpp"

#include "Platform/UIKit/UICollectionViewFlowLayout.hpp"

#include <optional>
#include <vector>

namespace Basalwork {

// Keeps the flow layout's line breaking but pushes each line's items to one edge and lines them up at
// their tops, centres or bottoms. With `justified` and `center` it is the flow layout unchanged.
class AlignedFlowLayout : public UIKit::UICollectionViewFlowLayout {
public:
    // Leading and trailing resolved for the interface's direction.
    enum class EffectiveHorizontalAlignment : std::int64_t { left, right, justified };
    template <class A>
    struct AlignmentAxis {
        A alignment;
        UIKit::CGFloat position = 0;
    };

    virtual HorizontalAlignment horizontalAlignment() const { return m_horizontalAlignment; }
    virtual void setHorizontalAlignment(HorizontalAlignment alignment) { m_horizontalAlignment = alignment; }
    virtual VerticalAlignment verticalAlignment() const { return m_verticalAlignment; }
    virtual void setVerticalAlignment(VerticalAlignment alignment) { m_verticalAlignment = alignment; }
    virtual EffectiveHorizontalAlignment effectiveHorizontalAlignment() const;

    // Copies: the flow layout's cached attributes are never changed.
    std::optional<std::vector<Attributes>> layoutAttributesForElements(const UIKit::CGRect& in) const override;
    Attributes layoutAttributesForItem(const Foundation::IndexPath& at) const override;

    // Whether b's frame meets a's line, which spans the content width at a's height.
    virtual bool isFrame(const UIKit::UICollectionViewLayoutAttributes& a,
                         const UIKit::UICollectionViewLayoutAttributes& inSameLineAsFrameFor) const;
    // The unaligned attributes of the elements in a's line.
    virtual std::vector<Attributes> layoutAttributes(const Attributes& forItemsInLineWith) const;
    virtual std::optional<AlignmentAxis<VerticalAlignment>>
    verticalAlignmentAxisForLine(const std::vector<Attributes>& with) const;

protected:
    friend Foundation::Construct;
    AlignedFlowLayout(HorizontalAlignment horizontalAlignment, VerticalAlignment verticalAlignment)
        : m_horizontalAlignment(horizontalAlignment)
        , m_verticalAlignment(verticalAlignment)
    {
    }
    // init(coder:): the default alignments.
    explicit AlignedFlowLayout(Foundation::NSCoder& coder)
        : UICollectionViewFlowLayout(coder)
    {
    }

private:
    UIKit::CGFloat contentWidth() const;
    Attributes originalLayoutAttribute(const Foundation::IndexPath& forItemAt) const;
    void setFrame(UIKit::UICollectionViewLayoutAttributes& forLayoutAttributes) const;
    UIKit::CGRect lineRect(const UIKit::UICollectionViewLayoutAttributes& item) const;

    HorizontalAlignment m_horizontalAlignment = HorizontalAlignment::justified;
    VerticalAlignment m_verticalAlignment = VerticalAlignment::center;
};

} // namespace Basalwork
