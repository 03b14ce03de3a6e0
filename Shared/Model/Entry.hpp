#pragma once

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.PreviousValue.hpp"
#include "Shared/Model/Entry.Section.hpp"
#include "Shared/Model/Entry.ServiceIdentifier.hpp"
#include "Shared/Model/Entry.SubtitleSource.hpp"
#include "Shared/Model/Entry.SystemField.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace Shared {

class TOTP;

// One item of the vault: its fixed (system) fields, its sections of custom fields, the histories of its
// secrets, its tags and its place in the list. A value: the record store keeps it through its Codable
// form. Its nested types are defined before it, under joined names, because it holds them by value.
class Entry {
public:
    using Category = EntryCategory;
    using CategoryGroup = EntryCategoryGroup;
    using Field = EntryField;
    using SystemField = EntrySystemField;
    using Section = EntrySection;
    using Filter = EntryFilter;
    using SubtitleSource = EntrySubtitleSource;
    using ServiceIdentifier = EntryServiceIdentifier;
    using PreviousValue = EntryPreviousValue;

    // An item stays small enough to show and sync whole.
    static constexpr std::int64_t maximumSectionCount = 20;
    static constexpr std::int64_t maximumFieldCount = 100;
    // How many earlier values each history keeps.
    static constexpr std::size_t maximumHistoryCount = 50;

    Foundation::String id;
    Category category = Category::login;
    Foundation::String title;
    Foundation::String username;
    Foundation::String password;
    // The one-time-password link or secret, as the user gave it.
    Foundation::String totpSecretKey;
    Foundation::String website;
    Foundation::String notes;
    std::vector<Foundation::String> tags;
    std::vector<ServiceIdentifier> serviceIdentifiers;
    std::vector<Section> sections;
    std::vector<PreviousValue> passwordHistory;
    std::vector<PreviousValue> totpSecretKeyHistory;
    // Values that lost a merge with a change made elsewhere and have no history of their own, by the
    // field they were in ("title", "notes", "tags", "sections", "attachments", ...): nothing typed is
    // lost without a trace.
    std::map<std::string, std::vector<PreviousValue>> mergedAwayValues;
    std::optional<SubtitleSource> subtitleSource;
    bool isFavorite = false;
    bool isArchived = false;
    bool isSafeForInspection = false;
    // Shows the username and password fields while empty, for categories other than the login ones.
    bool showsEmptyLoginFields = false;
    std::optional<Foundation::Date> trashedAt;
    Foundation::Date createdAt;
    Foundation::Date modifiedAt;

    // A new, empty item of the category with a fresh identifier and the category's sections.
    static Entry make(Category category, Foundation::Date now);
    // A copy with new identifiers (the item's and its history entries') and both dates at `now`; not a
    // favourite, not archived, not in the trash.
    Entry duplicated(Foundation::Date now) const;

    bool isTrashed() const { return trashedAt.has_value(); }

    // The subtitle the list shows: the chosen source's text, else the category's natural one.
    Foundation::String subtitle() const;
    // The text of a system field (tags joined by ", ", the category's title).
    Foundation::String text(SystemField::ID id) const;
    // Sets a system field's text; a changed password or one-time-password secret goes to its history.
    // The derived fields (subtitle, category, AutoFill domains, safe for inspection) take no text.
    void setText(const Foundation::String& text, SystemField::ID id, Foundation::Date now);
    // Tags as typed: separated by commas, trimmed, each once, the empty ones left out.
    static std::vector<Foundation::String> parsedTags(const Foundation::String& text);

    // The one-time password, when the item has a usable one.
    std::optional<TOTP> currentTOTP() const;
    std::optional<Foundation::String> currentOneTimePassword(Foundation::Date date) const;
    // What the list's menus and commands copy and open: the username when there is one; the first
    // password (the item's own, else the first password field's) and one-time password (likewise) that
    // is not blank; the website when it reads as a web address.
    std::optional<Foundation::String> copyableUsername() const;
    std::optional<Foundation::String> firstCopyablePassword() const;
    std::optional<Foundation::String> firstCopyableOneTimePassword(Foundation::Date date) const;
    // The one-time password that code comes from.
    std::optional<TOTP> firstCopyableTOTP() const;
    std::optional<Foundation::URL> websiteURL() const;
    const PreviousValue* previousPassword(const Foundation::String& id) const;
    const PreviousValue* previousTOTPSecretKey(const Foundation::String& id) const;

    // Custom fields by position; EntryError.fieldNotFound / sectionNotFound when there is none.
    const Field& field(Field::ID id) const;
    const std::vector<Field>& fields(std::int64_t section) const;
    std::int64_t fieldCount() const;
    // The attachment an attachment field holds: nothing for another field, an empty one or none there.
    std::optional<Foundation::String> attachmentID(Field::ID id) const;
    // Every attachment the item holds, in field order.
    std::vector<Foundation::String> attachmentIDs() const;

    // Editing within the limits. Each throws EntryError and leaves the item as it was when it fails.
    // Inserting a section at `index` (0 to the count) answers its index.
    std::int64_t insertSection(std::int64_t index, Section::Template sectionTemplate);
    // Inserts before the field at `id` (an index one past the last appends); answers the new position.
    Field::ID insertField(Field::ID id, Field::Category category);
    Field::ID appendField(std::int64_t section, Field::Category category);
    // A changed text goes to the field's history, unless the field is an attachment's.
    void setFieldText(Field::ID id, const Foundation::String& text, Foundation::Date now);
    void setFieldTitle(Field::ID id, std::optional<Foundation::String> title);
    void setSectionTitle(std::int64_t section, std::optional<Foundation::String> title);
    void changeFieldCategory(Field::ID id, Field::Category category);
    void deleteSection(std::int64_t index);
    void deleteField(Field::ID id);
    // `to` is the position the field has afterwards.
    void moveField(Field::ID from, Field::ID to);
    void moveSection(std::int64_t from, std::int64_t to);

    // Sets the last use of each identifier, adding those the item does not know yet.
    void stampServiceIdentifiers(const std::vector<ServiceIdentifier>& identifiers);

    void encode(Foundation::Encoder& encoder) const;
    static Entry decode(Foundation::Decoder& decoder);
    friend bool operator==(const Entry&, const Entry&) = default;

private:
    Field& mutableField(Field::ID id);
};

} // namespace Shared
