#pragma once

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Model/Entry.Section.Template.hpp"
#include "Shared/Screens/Menu.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <variant>

namespace Shared {

// What a menu entry does (Menu::Action): one vocabulary for the item details and the item list. The
// cases that carry a value keep it in the payload their kind names.
class MenuAction {
public:
    enum class Kind {
        // Item details, without a value.
        copy,
        copySecretKey,
        showInLargeType,
        reveal,
        conceal,
        setAsDefaultUsername,
        useDefaultUsername,
        generatePassword,
        generatePIN,
        composeEmail,
        call,
        openWebsite,
        showInMaps,
        edit,
        useAsSubtitle,
        stopUsingAsSubtitle,
        sectionEditingMode,
        deleteSection,
        fieldEditingMode,
        deleteField,
        quickLook,
        saveAttachmentTo,
        share,
        // Item details, with a value.
        showHistory,
        hideHistory,
        previousPasswordAction,
        previousOneTimePasswordAction,
        previousFieldValueAction,
        addSectionAbove,
        addSectionBelow,
        addFieldAbove,
        addFieldBelow,
        addField,
        changeItemCategory,
        changeFieldType,
        // Item list, without a value.
        openWebsiteAndQuit,
        favorite,
        unfavorite,
        duplicate,
        archive,
        unarchive,
        moveToTrash,
        restore,
        deletePermanently,
        // Item list, with the text as value.
        copyUsername,
        copyPassword,
        copyOneTimePassword,
        showPasswordInLargeType,
        showOneTimePasswordInLargeType,
    };

    struct None {
        friend bool operator==(const None&, const None&) = default;
    };
    // showHistory, hideHistory: the history's identifier; previousPasswordAction and
    // previousOneTimePasswordAction: the history entry's; the item list's copies and large types: the text.
    struct Text {
        Foundation::String text;
        friend bool operator==(const Text&, const Text&) = default;
    };
    struct FieldPreviousValue {
        EntryField::ID fieldID;
        EntryField::Category category;
        Foundation::String historyID;
        friend bool operator==(const FieldPreviousValue&, const FieldPreviousValue&) = default;
    };
    struct SectionInsertion {
        std::int64_t sectionIndex;
        EntrySectionTemplate sectionTemplate;
        friend bool operator==(const SectionInsertion&, const SectionInsertion&) = default;
    };
    // addFieldAbove and addFieldBelow: the field's position; addField: the section's, index 0.
    struct FieldInsertion {
        EntryField::ID fieldID;
        EntryField::Category category;
        friend bool operator==(const FieldInsertion&, const FieldInsertion&) = default;
    };
    struct ItemCategory {
        EntryCategory category;
        friend bool operator==(const ItemCategory&, const ItemCategory&) = default;
    };
    struct FieldCategory {
        EntryField::Category category;
        friend bool operator==(const FieldCategory&, const FieldCategory&) = default;
    };
    using Payload = std::variant<None, Text, FieldPreviousValue, SectionInsertion, FieldInsertion, ItemCategory, FieldCategory>;

    // A case without a value; stops the program for a kind that needs one.
    MenuAction(Kind kind); // NOLINT(google-explicit-constructor): a kind is an action

    static MenuAction showHistory(Foundation::String historyVisibilityID) { return {Kind::showHistory, Text {std::move(historyVisibilityID)}}; }
    static MenuAction hideHistory(Foundation::String historyVisibilityID) { return {Kind::hideHistory, Text {std::move(historyVisibilityID)}}; }
    static MenuAction previousPasswordAction(Foundation::String historyID) { return {Kind::previousPasswordAction, Text {std::move(historyID)}}; }
    static MenuAction previousOneTimePasswordAction(Foundation::String historyID)
    {
        return {Kind::previousOneTimePasswordAction, Text {std::move(historyID)}};
    }
    static MenuAction previousFieldValueAction(EntryField::ID fieldID, EntryField::Category category, Foundation::String historyID)
    {
        return {Kind::previousFieldValueAction, FieldPreviousValue {fieldID, category, std::move(historyID)}};
    }
    static MenuAction addSectionAbove(std::int64_t sectionIndex, EntrySectionTemplate sectionTemplate)
    {
        return {Kind::addSectionAbove, SectionInsertion {sectionIndex, sectionTemplate}};
    }
    static MenuAction addSectionBelow(std::int64_t sectionIndex, EntrySectionTemplate sectionTemplate)
    {
        return {Kind::addSectionBelow, SectionInsertion {sectionIndex, sectionTemplate}};
    }
    static MenuAction addFieldAbove(EntryField::ID fieldID, EntryField::Category category) { return {Kind::addFieldAbove, FieldInsertion {fieldID, category}}; }
    static MenuAction addFieldBelow(EntryField::ID fieldID, EntryField::Category category) { return {Kind::addFieldBelow, FieldInsertion {fieldID, category}}; }
    static MenuAction addField(std::int64_t sectionIndex, EntryField::Category category)
    {
        return {Kind::addField, FieldInsertion {{sectionIndex, 0}, category}};
    }
    static MenuAction changeItemCategory(EntryCategory category) { return {Kind::changeItemCategory, ItemCategory {category}}; }
    static MenuAction changeFieldType(EntryField::Category category) { return {Kind::changeFieldType, FieldCategory {category}}; }
    static MenuAction copyUsername(Foundation::String text) { return {Kind::copyUsername, Text {std::move(text)}}; }
    static MenuAction copyPassword(Foundation::String text) { return {Kind::copyPassword, Text {std::move(text)}}; }
    static MenuAction copyOneTimePassword(Foundation::String text) { return {Kind::copyOneTimePassword, Text {std::move(text)}}; }
    static MenuAction showPasswordInLargeType(Foundation::String text) { return {Kind::showPasswordInLargeType, Text {std::move(text)}}; }
    static MenuAction showOneTimePasswordInLargeType(Foundation::String text)
    {
        return {Kind::showOneTimePasswordInLargeType, Text {std::move(text)}};
    }

    Kind kind() const { return m_kind; }
    const Payload& payload() const { return m_payload; }
    template <class P>
    const P* as() const { return std::get_if<P>(&m_payload); }
    // The text payload, empty for the other kinds.
    Foundation::String text() const;

    // What the menu shows: a category for the category changes, a section template for the section
    // insertions.
    Foundation::String titleText() const;
    // The name of the system symbol the menu shows beside the title; empty where the title says enough
    // (category and field type choices).
    Foundation::String systemImageName() const;
    bool isDestructive() const;

    friend bool operator==(const MenuAction&, const MenuAction&) = default;

private:
    MenuAction(Kind kind, Payload payload)
        : m_kind(kind)
        , m_payload(std::move(payload))
    {
    }

    Kind m_kind;
    Payload m_payload;
};

} // namespace Shared
