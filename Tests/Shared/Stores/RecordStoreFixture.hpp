#pragma once

#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Platform/Foundation/UUID.hpp"

#include <functional>

namespace SharedTests {

inline Shared::RecordStore::StoreType productionStoreType()
{
    return Shared::RecordStore::StoreType::onDisk(
        Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/RecordStore/Production")),
        "recordStore");
}

inline std::filesystem::path storeFilePath()
{
    auto container = Foundation::FileManager::defaultManager()->containerURL(Shared::Global::App::appGroupIdentifier());
    return std::filesystem::path(container->path().utf8()) / "Library/Application Support/RecordStore/Production/recordStore.sqlite";
}

inline std::shared_ptr<Shared::RecordStore> openRecordStore(const Vault& vault, const Shared::RecordStore::StoreType& storeType = productionStoreType(),
                                                            double timeout = 10)
{
    return Foundation::make<Shared::RecordStore>(vault.notificationCenter, vault.cryptor, vault.attachmentDataStore, vault.preferenceStore, storeType,
                                                 timeout);
}

// Makes and saves a login item with a title and a password; `fill` may set more before the save.
inline Foundation::String addEntry(Shared::RecordStore& store, const Foundation::String& title, const Foundation::String& password = "",
                                   const std::function<void(Shared::RecordStore::EditingContext&, const Foundation::String&)>& fill = {})
{
    auto context = store.makeEditingContext();
    auto id = context->insert(Foundation::UUID().uuidString(), store.vaultIDForNewEntries(), Shared::Entry::Category::login, false);
    context->setText(title, Shared::Entry::SystemField::ID::title, id);
    context->setText(password, Shared::Entry::SystemField::ID::password, id);
    if (fill)
        fill(*context, id);
    context->save();
    return id;
}

} // namespace SharedTests
