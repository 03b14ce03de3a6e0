#include "Shared/Screens/EntryDetailsVC.State.hpp"

namespace Shared {

const EntryDetailsVCState::EditingPayload* EntryDetailsVCState::editingPayload() const
{
    if (const auto* editing = as<Editing>())
        return editing;
    if (const auto* editing = as<SectionEditing>())
        return editing;
    if (const auto* editing = as<FieldEditing>())
        return editing;
    return nullptr;
}

std::optional<Foundation::String> EntryDetailsVCState::entryID() const
{
    if (const auto* viewing = as<Viewing>())
        return viewing->entryID;
    if (const auto* editing = editingPayload())
        return editing->entryID;
    return std::nullopt;
}

std::optional<Entry> EntryDetailsVCState::entry() const
{
    // A store that cannot read the item shows it as gone; the screen must not fail over it.
    try {
        if (const auto* viewing = as<Viewing>())
            return viewing->recordStore ? viewing->recordStore->entry(viewing->entryID) : std::nullopt;
        if (const auto* editing = editingPayload())
            return editing->editingContext ? editing->editingContext->entry(editing->entryID) : std::nullopt;
    } catch (const Foundation::Error&) {
    }
    return std::nullopt;
}

std::optional<EntryDetailsVCConcealState> EntryDetailsVCState::concealState() const
{
    if (const auto* viewing = as<Viewing>())
        return viewing->concealState;
    return std::nullopt;
}

std::optional<EntryDetailsVCHistoryVisibility> EntryDetailsVCState::historyVisibility() const
{
    if (const auto* viewing = as<Viewing>())
        return viewing->historyVisibility;
    return std::nullopt;
}

std::optional<RecordStoreAutoFillAvailability> EntryDetailsVCState::autoFillAvailability() const
{
    std::optional<AutoFillDomainsState> domains;
    if (const auto* viewing = as<Viewing>())
        domains = viewing->autoFillDomains;
    else if (const auto* editing = editingPayload())
        domains = editing->autoFillDomains;
    if (!domains)
        return std::nullopt;
    switch (*domains) {
    case AutoFillDomainsState::unsupportedSystem:
        return RecordStoreAutoFillAvailability::unsupportedSystem;
    case AutoFillDomainsState::disabled:
        return RecordStoreAutoFillAvailability::disabled;
    default:
        return RecordStoreAutoFillAvailability::enabled;
    }
}

template <class Transform>
EntryDetailsVCState EntryDetailsVCState::transformingViewing(Transform transform) const
{
    const auto* viewing = as<Viewing>();
    if (!viewing)
        return *this;
    auto copy = *viewing;
    transform(copy);
    return copy;
}

EntryDetailsVCState EntryDetailsVCState::revealing(const Foundation::String& id) const
{
    return transformingViewing([&](Viewing& viewing) { viewing.concealState = viewing.concealState.revealing(id); });
}

EntryDetailsVCState EntryDetailsVCState::concealing(const Foundation::String& id) const
{
    return transformingViewing([&](Viewing& viewing) { viewing.concealState = viewing.concealState.concealing(id); });
}

EntryDetailsVCState EntryDetailsVCState::showingHistory(const Foundation::String& id) const
{
    return transformingViewing([&](Viewing& viewing) { viewing.historyVisibility = viewing.historyVisibility.showing(id); });
}

EntryDetailsVCState EntryDetailsVCState::hidingHistory(const Foundation::String& id) const
{
    return transformingViewing([&](Viewing& viewing) { viewing.historyVisibility = viewing.historyVisibility.hiding(id); });
}

EntryDetailsVCState EntryDetailsVCState::revealingAllSecureEntryFieldsViaOverride() const
{
    return transformingViewing([](Viewing& viewing) { viewing.concealState = viewing.concealState.overridingConcealment(true); });
}

EntryDetailsVCState EntryDetailsVCState::removingConcealStateOverrides() const
{
    return transformingViewing([](Viewing& viewing) { viewing.concealState = viewing.concealState.overridingConcealment(false); });
}

EntryDetailsVCState EntryDetailsVCState::withConcealState(const EntryDetailsVCConcealState& concealState) const
{
    return transformingViewing([&](Viewing& viewing) { viewing.concealState = concealState; });
}

EntryDetailsVCState EntryDetailsVCState::with(RecordStoreAutoFillAvailability autoFillAvailability, std::optional<bool> showAutoFillDomains) const
{
    auto domains = [&](bool wereShown) {
        switch (autoFillAvailability) {
        case RecordStoreAutoFillAvailability::unsupportedSystem:
            return AutoFillDomainsState::unsupportedSystem;
        case RecordStoreAutoFillAvailability::disabled:
            return AutoFillDomainsState::disabled;
        default:
            return showAutoFillDomains.value_or(wereShown) ? AutoFillDomainsState::shown : AutoFillDomainsState::hidden;
        }
    };
    if (const auto* viewing = as<Viewing>()) {
        auto copy = *viewing;
        auto shown = domains(viewing->autoFillDomains == AutoFillDomainsState::shown);
        copy.autoFillDomains = shown == AutoFillDomainsState::shown ? std::optional(shown) : std::nullopt;
        return copy;
    }
    auto rewrite = [&](auto editing) -> EntryDetailsVCState {
        editing.autoFillDomains = domains(editing.autoFillDomains == AutoFillDomainsState::shown);
        return editing;
    };
    if (const auto* editing = as<Editing>())
        return rewrite(*editing);
    if (const auto* editing = as<SectionEditing>())
        return rewrite(*editing);
    if (const auto* editing = as<FieldEditing>())
        return rewrite(*editing);
    return *this;
}

} // namespace Shared
