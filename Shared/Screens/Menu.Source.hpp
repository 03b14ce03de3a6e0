#pragma once

#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Screens/Menu.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <optional>
#include <variant>

namespace Shared {

class MenuAction;

// The row of the item details screen a menu, a selection or a quick action belongs to (Menu::Source).
class MenuSource : public Foundation::Enumeration<MenuSource> {
public:
    // The buttons of the details header, in the order they show.
    enum class HeaderItem { favorite, unfavorite, duplicate, share, archive, unarchive, moveToTrash, restore, deletePermanently };
    // The buttons that show what the editing screen hides.
    enum class ShowHiddenKind { emptyLoginFields, emptyTOTPField, autoFill, autoFillDomains };

    struct SystemField {
        EntrySystemField::ID id;
        friend bool operator==(const SystemField&, const SystemField&) = default;
    };
    struct PreviousPassword {
        Foundation::String historyID;
        friend bool operator==(const PreviousPassword&, const PreviousPassword&) = default;
    };
    struct PreviousTOTPSecretKey {
        Foundation::String historyID;
        friend bool operator==(const PreviousTOTPSecretKey&, const PreviousTOTPSecretKey&) = default;
    };
    struct Section {
        std::int64_t index;
        friend bool operator==(const Section&, const Section&) = default;
    };
    // A custom field's title, where a new field takes the focus.
    struct CustomFieldTitle {
        EntryField::ID id;
        EntryField::Category category;
        friend bool operator==(const CustomFieldTitle&, const CustomFieldTitle&) = default;
    };
    // A custom field's value.
    struct CustomField {
        EntryField::ID id;
        EntryField::Category category;
        friend bool operator==(const CustomField&, const CustomField&) = default;
    };
    struct PreviousFieldValue {
        EntryField::ID id;
        EntryField::Category category;
        Foundation::String historyID;
        friend bool operator==(const PreviousFieldValue&, const PreviousFieldValue&) = default;
    };
    struct AddField {
        std::int64_t sectionIndex;
        friend bool operator==(const AddField&, const AddField&) = default;
    };
    struct AddSection {
        std::int64_t sectionIndex;
        friend bool operator==(const AddSection&, const AddSection&) = default;
    };
    struct ShowHidden {
        ShowHiddenKind kind;
        friend bool operator==(const ShowHidden&, const ShowHidden&) = default;
    };
    struct Header {
        HeaderItem item;
        friend bool operator==(const Header&, const Header&) = default;
    };
    // Cases in declared order; callers name them by position (the field with the inline generator is
    // case 6, a custom field's value).
    using Case = std::variant<SystemField, PreviousPassword, PreviousTOTPSecretKey, Section, CustomFieldTitle, PreviousFieldValue,
                              CustomField, AddField, AddSection, ShowHidden, Header>;

    static MenuSource systemField(EntrySystemField::ID id) { return MenuSource(SystemField {id}); }
    static MenuSource previousPassword(Foundation::String historyID) { return MenuSource(PreviousPassword {std::move(historyID)}); }
    static MenuSource previousTOTPSecretKey(Foundation::String historyID) { return MenuSource(PreviousTOTPSecretKey {std::move(historyID)}); }
    static MenuSource section(std::int64_t index) { return MenuSource(Section {index}); }
    static MenuSource customFieldTitle(EntryField::ID id, EntryField::Category category) { return MenuSource(CustomFieldTitle {id, category}); }
    static MenuSource customField(EntryField::ID id, EntryField::Category category) { return MenuSource(CustomField {id, category}); }
    static MenuSource previousFieldValue(EntryField::ID id, EntryField::Category category, Foundation::String historyID)
    {
        return MenuSource(PreviousFieldValue {id, category, std::move(historyID)});
    }
    static MenuSource addField(std::int64_t sectionIndex) { return MenuSource(AddField {sectionIndex}); }
    static MenuSource addSection(std::int64_t sectionIndex) { return MenuSource(AddSection {sectionIndex}); }
    static MenuSource showHidden(ShowHiddenKind kind) { return MenuSource(ShowHidden {kind}); }
    static MenuSource header(HeaderItem item) { return MenuSource(Header {item}); }

    const Case& value() const { return m_case; }

    // The custom field the row shows, whichever of its rows it is.
    std::optional<EntryField::ID> customFieldID() const;
    // Which history the row shows or belongs to, as EntryDetailsVC keeps it: "Password", "OneTimePassword",
    // or "Field.<section>.<index>" for a custom field; none for a row without a history.
    std::optional<Foundation::String> historyVisibilityID() const;
    // Which concealed value the row shows, as EntryDetailsVC keeps it; none for a value never concealed.
    std::optional<Foundation::String> revealConcealID() const;
    // Whether the row's value is a secret, which the pasteboard keeps from other devices and clears.
    bool isSensitive() const;
    // What choosing the row does at once: copying its value; none for rows without one.
    std::optional<MenuAction> quickAction() const;

    static Foundation::String historyVisibilityID(EntryField::ID id);

    friend bool operator==(const MenuSource&, const MenuSource&) = default;

private:
    explicit MenuSource(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
