#include "Shared/Screens/PasteboardCoordinator.hpp"

#include "Shared/Model/Settings.Clipboard.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

namespace Shared {

PasteboardCoordinator::PasteboardCoordinator(std::shared_ptr<PreferenceStore> preferenceStore, std::shared_ptr<UserNotificationStore>)
    : m_preferenceStore(std::move(preferenceStore))
{
}

void PasteboardCoordinator::copy(const Foundation::String& text, bool isSensitive)
{
    UIKit::UIPasteboard::Item item {{UIKit::UIPasteboard::plainTextType(), Foundation::Data::fromString(text.utf8())}};
    UIKit::UIPasteboard::Options options;
    if (isSensitive) {
        item[concealedType] = Foundation::Data();
        options.localOnly = true;
    }
    auto seconds = Settings::Clipboard::seconds(m_preferenceStore->autoClear());
    // The pasteboard drops the content itself when its time is up, even if this process has gone.
    if (seconds)
        options.expirationDate = Foundation::Date::now().addingTimeInterval(*seconds);
    auto pasteboard = UIKit::UIPasteboard::general();
    pasteboard->setItems({std::move(item)}, options);
    m_ownChangeCount = pasteboard->changeCount();
    if (seconds)
        clearPasteboard(*seconds, true);
}

void PasteboardCoordinator::adoptPasteboardContent()
{
    auto pasteboard = UIKit::UIPasteboard::general();
    auto items = pasteboard->items();
    if (items.empty())
        return;
    for (auto& item : items)
        item[concealedType] = Foundation::Data();
    UIKit::UIPasteboard::Options options;
    options.localOnly = true;
    auto seconds = Settings::Clipboard::seconds(m_preferenceStore->autoClear());
    if (seconds)
        options.expirationDate = Foundation::Date::now().addingTimeInterval(*seconds);
    pasteboard->setItems(std::move(items), options);
    m_ownChangeCount = pasteboard->changeCount();
    if (seconds)
        clearPasteboard(*seconds, true);
}

void PasteboardCoordinator::clearPasteboard(double afterSeconds, bool onlyIfOwnContent)
{
    if (afterSeconds <= 0) {
        clearNow(onlyIfOwnContent);
        return;
    }
    std::weak_ptr<PasteboardCoordinator> weak = sharedSelf(this);
    auto expected = m_ownChangeCount;
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), afterSeconds, [weak, expected, onlyIfOwnContent] {
        auto self = weak.lock();
        // A later copy has its own time.
        if (self && self->m_ownChangeCount == expected)
            self->clearNow(onlyIfOwnContent);
    });
}

void PasteboardCoordinator::clearNow(bool onlyIfOwnContent)
{
    auto pasteboard = UIKit::UIPasteboard::general();
    if (onlyIfOwnContent && (!m_ownChangeCount || pasteboard->changeCount() != *m_ownChangeCount))
        return;
    if (pasteboard->numberOfItems() > 0)
        pasteboard->setItems({});
    m_ownChangeCount.reset();
}

} // namespace Shared
