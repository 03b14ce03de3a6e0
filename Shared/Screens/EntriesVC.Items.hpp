#pragma once

#include "Shared/Model/EntryIndex.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Shared {

// The items an owner hands the item list (EntriesVC::Items): the filter's summaries in order, either
// ready or as work that the list runs on its worker thread, so that a large vault is read off the main
// thread. The work must not touch the owner or anything else of the main thread: it reads a store.
class EntriesVCItems {
public:
    using Summaries = std::vector<std::shared_ptr<const EntryIndex>>;

    // None.
    EntriesVCItems() = default;
    // Ready: summaries the owner holds itself.
    EntriesVCItems(std::vector<EntryIndex> indices); // NOLINT(google-explicit-constructor): owners answer with their items
    static EntriesVCItems shared(Summaries summaries);
    // Read on the worker. A read that fails (the vault locked meanwhile) shows no items.
    static EntriesVCItems deferred(std::function<Summaries()> read);

    // On any thread.
    Summaries read() const;

private:
    std::function<Summaries()> m_read;
};

} // namespace Shared
