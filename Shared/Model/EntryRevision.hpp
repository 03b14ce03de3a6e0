#pragma once

#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Shared {

// An item as the record store keeps it: the item and, for each of its fields, when it last changed. The
// dates let two copies that changed apart be merged field by field, in any order and on any device with
// the same outcome: a field changed on one side only takes that change; a field changed on both takes
// the later change, and the earlier value of a field that keeps a history goes into that history.
// Histories and service identifiers are unions of both sides. Sections merge as one field, since custom
// fields are addressed by position.
//
// The fields that merge on their own are the item's properties marked so (EntryProperty.hpp); their dates
// are kept under the properties' coding keys.
struct EntryRevision {
    Entry entry;
    std::map<std::string, Foundation::Date> fieldModifiedAt;
    // For each field, the date of the value its last change replaced: what that change had seen.
    std::map<std::string, Foundation::Date> fieldReplacedAt;

    // A new item: every field dated at its creation.
    static EntryRevision make(Entry entry);

    // The date of a field's last change ("title", "isFavorite", ...): its own, else the item's creation.
    Foundation::Date modifiedAt(std::string_view key) const;
    // Marks the fields in which `edited` differs from `original` as changed at `now`, taking their values
    // from `edited`, and keeps every other field as it is here: what an edit changed lands on the newest
    // copy without undoing what others changed meanwhile. Answers whether anything changed.
    bool apply(const Entry& original, const Entry& edited, Foundation::Date now);
    // Changes the item through `change` and dates the fields it changed at `now`.
    template <class Change>
    bool change(Foundation::Date now, Change&& change)
    {
        Entry edited = entry;
        change(edited);
        return apply(entry, edited, now);
    }

    // Whether this copy was made from `earlier` or a later copy of it: every field either holds the same
    // value or changed from `earlier`'s value or a later one. A copy made apart from it (another
    // installation that had not seen it) does not, and must be merged with it rather than replace it.
    bool supersedes(const EntryRevision& earlier) const;

    // The two copies merged as described above; merging is symmetric.
    static EntryRevision merged(const EntryRevision& local, const EntryRevision& remote);

    // JSON, for sealing.
    Foundation::Data encoded() const;
    // Throws DecodingError for data that is not a revision.
    static EntryRevision decoded(const Foundation::Data& data);

    void encode(Foundation::Encoder& encoder) const;
    static EntryRevision decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryRevision&, const EntryRevision&) = default;
};

} // namespace Shared
