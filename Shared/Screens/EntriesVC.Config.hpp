#pragma once

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <variant>
#include <vector>

namespace Shared {

class PreferenceStore;
class RecordStore;

// What the item list shows, pushed whole by its owner (EntriesVC::Config).
struct EntriesVCConfig {
    enum class SelectionMode { single, multiple };

    // The main list, or the picker that files a one-time-password link into an item (for the text's
    // service).
    class Mode : public Foundation::Enumeration<Mode> {
    public:
        struct Main {
            friend bool operator==(const Main&, const Main&) = default;
        };
        struct Picker {
            Foundation::String domainText;
            friend bool operator==(const Picker&, const Picker&) = default;
        };
        using Case = std::variant<Main, Picker>;

        static Mode main() { return Mode(Main {}); }
        static Mode picker(Foundation::String domainText) { return Mode(Picker {std::move(domainText)}); }
        const Case& value() const { return m_case; }
        friend bool operator==(const Mode&, const Mode&) = default;

    private:
        explicit Mode(Case value)
            : m_case(std::move(value))
        {
        }
        Case m_case;
    };

    struct SearchState {
        Foundation::String text;
        friend bool operator==(const SearchState&, const SearchState&) = default;
    };

    std::shared_ptr<RecordStore> recordStore;
    std::shared_ptr<PreferenceStore> preferenceStore;
    AuthenticationState authenticationState = AuthenticationState::Authenticated {};
    Entry::Filter filter = Entry::Filter::default_();
    Settings::Items::SortMethod sortMethod = Settings::Items::defaultSortMethod;
    Syncwright::SyncStatus syncStatus = Syncwright::SyncStatus::Unknown {};
    SearchState searchState;
    bool isCancelButtonHidden = true;
    bool isNewItemButtonHidden = false;
    std::vector<Foundation::String> selectedEntryIDs;
    SelectionMode selectionMode = SelectionMode::single;
    bool settingsIssueDetected = false;
    bool isSettingsButtonShown = true;
    // Off while the program has no settings to show: the button shows, dimmed.
    bool isSettingsButtonEnabled = true;
    Mode mode = Mode::main();
};

// The sync status the list header's indicator shows, and whether to change it animated
// (EntriesV.HeaderV.SyncStatusIndicator.Config).
struct EntriesVSyncStatusIndicatorConfig {
    Syncwright::SyncStatus syncStatus = Syncwright::SyncStatus::Unknown {};
    bool isAnimated = false;
};

} // namespace Shared
