#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace UIKit {

// The process-wide general pasteboard: items, each a set of representations keyed by type identifier,
// with a change count that grows with every change. Items may be local only (kept from other devices)
// and may expire; expired items are gone at the next read. Safe to use from any thread.
class UIPasteboard : public Foundation::NSObject {
public:
    using Item = std::map<Foundation::String, Foundation::Data>;
    struct Options {
        bool localOnly = false;
        std::optional<Foundation::Date> expirationDate;
    };

    // The type of plain text, in UTF-8.
    static Foundation::String plainTextType() { return "public.utf8-plain-text"; }
    // "UIPasteboardChangedNotification", posted on the default centre with the pasteboard as object.
    static const Foundation::Notification::Name& changedNotification();

    static const std::shared_ptr<UIPasteboard>& general();

    std::int64_t changeCount() const;
    std::vector<Item> items() const;
    std::int64_t numberOfItems() const;
    // The types of the first item.
    std::vector<Foundation::String> types() const;
    bool isLocalOnly() const;
    std::optional<Foundation::Date> expirationDate() const;

    void setItems(std::vector<Item> items) { setItems(std::move(items), Options()); }
    void setItems(std::vector<Item> items, Options options);
    void addItems(std::vector<Item> items);
    // The first item's plain text; setting replaces every item (nothing empties the pasteboard).
    std::optional<Foundation::String> string() const;
    void setString(const std::optional<Foundation::String>& string);
    bool hasStrings() const;

protected:
    friend Foundation::Construct;
    UIPasteboard() = default;

private:
    // Drops expired items; answers whether anything changed. Called with the lock held.
    bool expireIfNeeded() const;
    void didChange();

    mutable std::mutex m_mutex;
    mutable std::vector<Item> m_items;
    mutable std::int64_t m_changeCount = 0;
    mutable Options m_options;
};

} // namespace UIKit
