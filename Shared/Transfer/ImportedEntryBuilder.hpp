#pragma once

#include "Shared/Model/Entry.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include <optional>
#include <string_view>

namespace Shared {

// Builds an item from another app's values: the values that have a place of their own go there, the
// rest become custom fields in one section. Empty values are left out.
class ImportedEntryBuilder {
public:
    // Longer values are refused, so that one damaged row cannot fill the vault.
    static constexpr std::size_t maximumValueByteCount = 1024 * 1024;
    static constexpr std::size_t maximumIdentifierByteCount = 256;

    // Items without dates of their own take `now`.
    ImportedEntryBuilder(ImporterFileFormat format, Entry::Category category, Foundation::Date now = Foundation::Date::now());

    // The identifier from the export, when it has one; without, one is made from `contentKey`, so
    // that importing the same file again finds the same items.
    void setSourceIdentifier(std::string_view sourceID);
    bool hasSourceIdentifier() const { return m_sourceID.has_value(); }
    void setCategory(Entry::Category category) { m_entry.category = category; }
    Entry::Category category() const { return m_entry.category; }

    void setTitle(std::string_view value);
    void setUsername(std::string_view value);
    void setPassword(std::string_view value);
    void setWebsite(std::string_view value);
    void setNotes(std::string_view value);
    void appendNotes(std::string_view value);
    void setTOTP(std::string_view value);
    void addTag(std::string_view value);
    // Several tags in one text, split at `separators`.
    void addTags(std::string_view value, std::string_view separators);
    void setFavorite(bool value) { m_entry.isFavorite = value; }
    void setArchived(bool value) { m_entry.isArchived = value; }
    void setCreatedAt(std::optional<Foundation::Date> date);
    void setModifiedAt(std::optional<Foundation::Date> date);
    void addPreviousPassword(std::string_view value, std::optional<Foundation::Date> replacedAt);
    // A custom field; without a category one is guessed from the title.
    void addField(std::string_view title, std::string_view value, std::optional<EntryFieldCategory> category = std::nullopt);
    // An attachment field whose text is the attachment's identifier, which the importer replaces.
    void addAttachmentField(std::string_view title, const Foundation::String& attachmentID);
    bool hasLoginValues() const;
    const Entry& entry() const { return m_entry; }

    // The item; throws ImporterError.invalidFile naming what exceeded the limits. `contentKey` makes
    // the identifier when the export gave none.
    Entry build(std::string_view contentKey);

    // Holds an item read whole (this program's own exports) to the limits every other item is built
    // within: values no longer than the limit, no more sections and fields than an item may have, an
    // identifier that names nothing but the item; histories keep their newest values. Throws
    // ImporterError.invalidFile naming what exceeded the limits.
    static void enforceLimits(Entry& entry);

    // A stable identifier for a key within a format, shaped as a UUID.
    static Foundation::String stableIdentifier(ImporterFileFormat format, std::string_view key);
    // A field category for a custom field's title ("PIN", "E-mail", "Website" ...).
    static EntryFieldCategory guessedCategory(std::string_view title, std::string_view value);

private:
    static Foundation::String checked(std::string_view value);

    ImporterFileFormat m_format;
    Entry m_entry;
    std::optional<Foundation::String> m_sourceID;
    EntrySection m_customSection;
    bool m_hasCreatedAt = false;
    bool m_hasModifiedAt = false;
};

} // namespace Shared
