#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Model/TOTP.hpp"
#include "Shared/Screens/Menu.Source.hpp"

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
        // A section's title, typed into while editing.
        sectionHeader,
        // The generator's options under the password or PIN field being typed into.
        generator,
    };

    MenuSource source;
    Kind kind = Kind::field;
    Foundation::String title {};
    Foundation::String value {};
    bool isConcealed = false;
    bool isEditable = false;
    bool isSecureInput = false;
    bool isOn = false;
    // A button that leads nowhere yet shows dimmed.
    bool isEnabled = true;
    std::optional<TOTP> totp {};
    // Dragged by its handle, or moved with the keys, while its fields or sections are rearranged.
    bool isMovable = false;
    // An attachment's file, dragged by its handle onto a file input.
    bool isDraggable = false;
    // The generator row's settings: the stored ones, of which a PIN field uses only the PIN kind's.
    std::optional<PasswordGenerator> generator {};
    bool isPINGenerator = false;
    // A custom field's own title, typed into while editing as a source of its own.
    std::optional<MenuSource> titleSource {};
    Foundation::String customTitle {};

    // What the value shows: masked while concealed.
    Foundation::String displayedValue() const;
};

// The rows of one section of the details (EntryDetailsTVC::Section).
struct EntryDetailsTVCSection {
    Foundation::String title;
    std::vector<EntryDetailsTVCRow> rows;
};

// The sections a state shows: the item's system fields, then its own sections, each led by its title
// row; a message for a state without an item (or with an item that no longer exists). The generator's
// settings fill the inline generator, when the state shows one.
std::vector<EntryDetailsTVCSection> entryDetailsSections(const EntryDetailsVCState& state, const PasswordGenerator& generator = {},
                                                         bool showsInlineGenerator = true);

} // namespace Shared
