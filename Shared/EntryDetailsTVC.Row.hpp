#pragma once

#include "Shared/Menu.Source.hpp"
#include "Shared/TOTP.hpp"

#include "Platform/Foundation/String.hpp"

#include <optional>
#include <vector>

namespace Shared {

class EntryDetailsVCState;

// One row of the item details (EntryDetailsTVC::Row): what it shows and which menu source it is.
struct EntryDetailsTVCRow {
    enum class Kind {
        // A title and a value, typed into while editing.
        field,
        // A one-time code with its countdown; editing types its secret.
        oneTimePassword,
        // An attachment: a file input while editing.
        attachment,
        // A switch (safe for inspection).
        toggle,
        // A button that adds or shows something while editing.
        button,
        // A line of text standing for the whole screen (nothing selected, several selected, item gone).
        message,
    };

    MenuSource source;
    Kind kind = Kind::field;
    Foundation::String title;
    Foundation::String value;
    bool isConcealed = false;
    bool isEditable = false;
    bool isSecureInput = false;
    bool isOn = false;
    std::optional<TOTP> totp;

    // What the value shows: masked while concealed.
    Foundation::String displayedValue() const;
};

// The rows of one section of the details (EntryDetailsTVC::Section).
struct EntryDetailsTVCSection {
    Foundation::String title;
    std::vector<EntryDetailsTVCRow> rows;
};

// The sections a state shows: the item's system fields, then its own sections; a message for a state
// without an item (or with an item that no longer exists).
std::vector<EntryDetailsTVCSection> entryDetailsSections(const EntryDetailsVCState& state);

} // namespace Shared
