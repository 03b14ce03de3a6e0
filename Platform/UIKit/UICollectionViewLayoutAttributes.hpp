#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UICollectionElementCategory.hpp"

#include <memory>
#include <optional>

namespace UIKit {

// Where one element of a collection view goes. Layouts hand out their own cached objects, so whoever
// adjusts one works on a `copy()`.
class UICollectionViewLayoutAttributes : public Foundation::NSObject {
public:
    static std::shared_ptr<UICollectionViewLayoutAttributes> forCell(Foundation::IndexPath indexPath);
    static std::shared_ptr<UICollectionViewLayoutAttributes> forSupplementaryView(Foundation::String kind,
                                                                                  Foundation::IndexPath indexPath);

    const Foundation::IndexPath& indexPath() const { return m_indexPath; }
    UICollectionElementCategory representedElementCategory() const { return m_category; }
    // The supplementary or decoration kind; none for a cell.
    const std::optional<Foundation::String>& representedElementKind() const { return m_kind; }
    CGRect frame() const { return m_frame; }
    void setFrame(const CGRect& frame) { m_frame = frame; }

    std::shared_ptr<UICollectionViewLayoutAttributes> copy() const;

protected:
    friend Foundation::Construct;
    UICollectionViewLayoutAttributes(Foundation::IndexPath indexPath, UICollectionElementCategory category,
                                     std::optional<Foundation::String> kind)
        : m_indexPath(indexPath)
        , m_category(category)
        , m_kind(std::move(kind))
    {
    }

private:
    Foundation::IndexPath m_indexPath;
    UICollectionElementCategory m_category;
    std::optional<Foundation::String> m_kind;
    CGRect m_frame;
};

} // namespace UIKit
