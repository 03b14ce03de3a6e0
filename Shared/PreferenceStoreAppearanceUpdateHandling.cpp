#include "Shared/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Shared/PreferenceStore.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"

namespace Shared {

PreferenceStoreAppearanceUpdateHandling::~PreferenceStoreAppearanceUpdateHandling()
{
    if (!m_observer)
        return;
    if (auto store = PreferenceStore::shared())
        store->notificationCenter()->removeObserver(m_observer);
}

void PreferenceStoreAppearanceUpdateHandling::registerForPreferenceStoreDidUpdateAppearanceNotifications()
{
    auto store = PreferenceStore::shared();
    if (!store)
        return;
    if (!m_observer) {
        // Removed in the destructor, so the block never outlives the object it calls.
        m_observer = store->notificationCenter()->addObserver(PreferenceStore::preferenceStoreDidUpdateAppearance(), store, nullptr,
                                                              [this](const Foundation::Notification&) { setNeedsAppearanceUpdate(); });
    }
    setNeedsAppearanceUpdate();
}

void PreferenceStoreAppearanceUpdateHandling::setNeedsAppearanceUpdate()
{
    if (auto store = PreferenceStore::shared())
        update(store->appearance());
}

} // namespace Shared
