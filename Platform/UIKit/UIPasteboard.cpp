#include "Platform/UIKit/UIPasteboard.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"

namespace UIKit {

const Foundation::Notification::Name& UIPasteboard::changedNotification()
{
    static const auto& name = *new Foundation::Notification::Name("UIPasteboardChangedNotification");
    return name;
}

const std::shared_ptr<UIPasteboard>& UIPasteboard::general()
{
    static const std::shared_ptr<UIPasteboard> pasteboard = Foundation::make<UIPasteboard>();
    return pasteboard;
}

bool UIPasteboard::expireIfNeeded() const
{
    if (!m_options.expirationDate || Foundation::Date::now() < *m_options.expirationDate)
        return false;
    m_items.clear();
    m_options = {};
    ++m_changeCount;
    return true;
}

std::int64_t UIPasteboard::changeCount() const
{
    std::lock_guard lock(m_mutex);
    expireIfNeeded();
    return m_changeCount;
}

std::vector<UIPasteboard::Item> UIPasteboard::items() const
{
    std::lock_guard lock(m_mutex);
    expireIfNeeded();
    return m_items;
}

std::int64_t UIPasteboard::numberOfItems() const
{
    return static_cast<std::int64_t>(items().size());
}

std::vector<Foundation::String> UIPasteboard::types() const
{
    std::vector<Foundation::String> types;
    auto all = items();
    if (!all.empty()) {
        for (const auto& [type, data] : all.front())
            types.push_back(type);
    }
    return types;
}

bool UIPasteboard::isLocalOnly() const
{
    std::lock_guard lock(m_mutex);
    expireIfNeeded();
    return m_options.localOnly;
}

std::optional<Foundation::Date> UIPasteboard::expirationDate() const
{
    std::lock_guard lock(m_mutex);
    expireIfNeeded();
    return m_options.expirationDate;
}

void UIPasteboard::setItems(std::vector<Item> items, Options options)
{
    {
        std::lock_guard lock(m_mutex);
        m_items = std::move(items);
        m_options = options;
        ++m_changeCount;
    }
    didChange();
}

void UIPasteboard::addItems(std::vector<Item> items)
{
    {
        std::lock_guard lock(m_mutex);
        expireIfNeeded();
        m_items.insert(m_items.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
        ++m_changeCount;
    }
    didChange();
}

std::optional<Foundation::String> UIPasteboard::string() const
{
    for (const auto& item : items()) {
        auto text = item.find(plainTextType());
        if (text != item.end())
            return Foundation::String(text->second.view());
    }
    return std::nullopt;
}

void UIPasteboard::setString(const std::optional<Foundation::String>& string)
{
    if (!string) {
        setItems({});
        return;
    }
    setItems({Item {{plainTextType(), Foundation::Data::fromString(string->utf8())}}});
}

bool UIPasteboard::hasStrings() const
{
    return string().has_value();
}

void UIPasteboard::didChange()
{
    Foundation::NotificationCenter::defaultCenter()->post(changedNotification(), sharedSelf(this));
}

} // namespace UIKit
