#pragma once

#include "Shared/Model/Entry.hpp"
#include "Shared/Screens/EntryDetailsVC.AutoFillDomainsState.hpp"
#include "Shared/Screens/EntryDetailsVC.BackButtonVisibility.hpp"
#include "Shared/Screens/EntryDetailsVC.ConcealState.hpp"
#include "Shared/Screens/EntryDetailsVC.EmptyLoginFieldsVisibility.hpp"
#include "Shared/Screens/EntryDetailsVC.EmptyTOTPFieldVisibility.hpp"
#include "Shared/Screens/EntryDetailsVC.HistoryVisibility.hpp"
#include "Shared/Screens/Menu.Source.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <concepts>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace Shared {

// What the item details show (EntryDetailsVC::State), by case position: one item, several, one item
// being edited (plainly, its sections rearranged, or its fields rearranged), or nothing. Callers read
// the case by its position, so the order is fixed; a new state shows nothing.
class EntryDetailsVCState : public Foundation::Enumeration<EntryDetailsVCState> {
public:
    using AutoFillDomainsState = EntryDetailsVCAutoFillDomainsState;

    // 0
    struct Viewing {
        Foundation::String entryID;
        std::shared_ptr<RecordStore> recordStore;
        EntryDetailsVCConcealState concealState;
        EntryDetailsVCHistoryVisibility historyVisibility;
        // Only ever `shown`, or nothing.
        std::optional<AutoFillDomainsState> autoFillDomains;
        EntryDetailsVCBackButtonVisibility backButton = EntryDetailsVCBackButtonVisibility::hidden;
        friend bool operator==(const Viewing&, const Viewing&) = default;
    };
    // 1
    struct MultipleSelection {
        std::vector<Foundation::String> entryIDs;
        std::shared_ptr<RecordStore> recordStore;
        friend bool operator==(const MultipleSelection&, const MultipleSelection&) = default;
    };
    // The payload of the three editing cases.
    struct EditingPayload {
        Foundation::String entryID;
        std::shared_ptr<RecordStore::EditingContext> editingContext;
        EntryDetailsVCBackButtonVisibility backButton = EntryDetailsVCBackButtonVisibility::hidden;
        EntryDetailsVCEmptyLoginFieldsVisibility emptyLoginFields = EntryDetailsVCEmptyLoginFieldsVisibility::hidden;
        EntryDetailsVCEmptyTOTPFieldVisibility emptyTOTPField = EntryDetailsVCEmptyTOTPFieldVisibility::hidden;
        AutoFillDomainsState autoFillDomains = AutoFillDomainsState::hidden;
        // The password or PIN field that shows the inline generator.
        std::optional<MenuSource> inlineGeneratorSource = std::nullopt;
        friend bool operator==(const EditingPayload&, const EditingPayload&) = default;
    };
    // 2
    struct Editing : EditingPayload { };
    // 3: the sections are rearranged.
    struct SectionEditing : EditingPayload { };
    // 4: the fields are rearranged.
    struct FieldEditing : EditingPayload { };
    // 5
    struct Empty {
        friend bool operator==(const Empty&, const Empty&) = default;
    };

    using Case = std::variant<Viewing, MultipleSelection, Editing, SectionEditing, FieldEditing, Empty>;

    EntryDetailsVCState()
        : m_case(Empty {})
    {
    }
    template <class C>
        requires std::constructible_from<Case, C>
    EntryDetailsVCState(C value) // NOLINT(google-explicit-constructor)
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }

    // Any of the three editing cases.
    bool isEditingCase() const { return editingPayload() != nullptr; }
    const EditingPayload* editingPayload() const;

    std::optional<Foundation::String> entryID() const;
    // The item as it stands: stored while viewing, with its edits while editing; nothing when it is gone.
    std::optional<Entry> entry() const;
    std::optional<EntryDetailsVCConcealState> concealState() const;
    std::optional<EntryDetailsVCHistoryVisibility> historyVisibility() const;
    std::optional<RecordStoreAutoFillAvailability> autoFillAvailability() const;

    // Viewing only; every other case comes back unchanged.
    EntryDetailsVCState revealing(const Foundation::String& id) const;
    EntryDetailsVCState concealing(const Foundation::String& id) const;
    EntryDetailsVCState showingHistory(const Foundation::String& id) const;
    EntryDetailsVCState hidingHistory(const Foundation::String& id) const;
    EntryDetailsVCState revealingAllSecureEntryFieldsViaOverride() const;
    EntryDetailsVCState removingConcealStateOverrides() const;
    EntryDetailsVCState withConcealState(const EntryDetailsVCConcealState& concealState) const;
    // A new availability; the domains shown or hidden as asked, else as they were.
    EntryDetailsVCState with(RecordStoreAutoFillAvailability autoFillAvailability, std::optional<bool> showAutoFillDomains) const;

    friend bool operator==(const EntryDetailsVCState&, const EntryDetailsVCState&) = default;

private:
    template <class Transform>
    EntryDetailsVCState transformingViewing(Transform transform) const;

    Case m_case;
};

} // namespace Shared
