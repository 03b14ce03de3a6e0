#pragma once

#include "Basalwork/Interface/DiffableSection.hpp"
#include "Basalwork/Interface/Identifiable.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIContentSizeCategory.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace Basalwork {

// The height each row was laid out at, per row identifier and content width, so that unchanged rows are
// not measured again. A height is trusted only while the row still equals the one it was measured for;
// a change of the user's text size forgets every height. Main thread only.
template <DiffableSection Section>
class ItemHeightCache : public Foundation::NSObject {
public:
    using Item = typename Section::Item;

    // height(for:givenContentWidth:): nothing when no height is known for this row at exactly this
    // width. A row whose content changed since it was measured loses its heights at every width.
    virtual std::optional<UIKit::CGFloat> height(const Item& for_, UIKit::CGFloat givenContentWidth)
    {
        auto found = m_cachedHeights.find(Key {Foundation::String(Basalwork::id(for_)), givenContentWidth});
        if (found == m_cachedHeights.end())
            return std::nullopt;
        if (found->second.item == for_)
            return found->second.height;
        clear(std::vector<Foundation::String> {Foundation::String(Basalwork::id(for_))});
        return std::nullopt;
    }

    // set(height:for:givenContentWidth:): replaces whatever was known for this row at this width.
    virtual void set(UIKit::CGFloat height, const Item& for_, UIKit::CGFloat givenContentWidth)
    {
        m_cachedHeights.insert_or_assign(Key {Foundation::String(Basalwork::id(for_)), givenContentWidth}, Value {for_, height});
    }

    // clear(ids:): nothing forgets everything; otherwise the heights of those rows at every width.
    virtual void clear(const std::optional<std::vector<Foundation::String>>& ids)
    {
        if (!ids) {
            m_cachedHeights.clear(); // keeps the buckets: the table fills the cache again straight away
            return;
        }
        if (ids->empty())
            return;
        const std::unordered_set<Foundation::String> forgotten(ids->begin(), ids->end());
        std::erase_if(m_cachedHeights, [&](const auto& entry) { return forgotten.contains(entry.first.id); });
    }

    virtual void clear(const std::unordered_set<Foundation::String>& ids)
    {
        clear(std::optional(std::vector<Foundation::String>(ids.begin(), ids.end())));
    }

protected:
    friend Foundation::Construct;
    explicit ItemHeightCache(std::shared_ptr<Foundation::NotificationCenter> notificationCenter)
        : m_notificationCenter(std::move(notificationCenter))
    {
    }

    void initialize() override
    {
        NSObject::initialize();
        registerForContentSizeCategoryChanges();
    }

private:
    // Heights measured at one text size are wrong at any other. The registration is not kept: once the
    // cache is gone the block finds nothing to clear.
    virtual void registerForContentSizeCategoryChanges()
    {
        std::weak_ptr<ItemHeightCache> weak = this->weakSelf(this);
        m_notificationCenter->addObserver(UIKit::UIContentSizeCategory::didChangeNotification(), nullptr,
                                          Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                              if (auto cache = weak.lock())
                                                  cache->clear(std::optional<std::vector<Foundation::String>> {});
                                          });
    }

    struct Key {
        Foundation::String id;
        UIKit::CGFloat contentWidth;
        // Exact: a row laid out at another width, however close, is laid out afresh.
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const
        {
            // +0.0 and -0.0 are equal widths, so they must hash alike.
            const auto width = key.contentWidth == 0 ? 0.0 : key.contentWidth;
            const auto seed = key.id.hash();
            return seed ^ (std::hash<UIKit::CGFloat> {}(width) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
        }
    };
    struct Value {
        Item item;
        UIKit::CGFloat height;
    };

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::unordered_map<Key, Value, KeyHash> m_cachedHeights;
};

} // namespace Basalwork
