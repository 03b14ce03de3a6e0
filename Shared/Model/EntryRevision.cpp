#include "Shared/Model/EntryRevision.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Hex.hpp"

#include <algorithm>
#include <set>
#include <sodium.h>

namespace Shared {

namespace {

using Key = EntryRevision::Key;

// Calls `body` with the member that holds the field of `key`.
template <class Body>
decltype(auto) withMember(Key key, Body&& body)
{
    switch (key) {
    case Key::title:
        return body(&Entry::title);
    case Key::username:
        return body(&Entry::username);
    case Key::password:
        return body(&Entry::password);
    case Key::totpSecretKey:
        return body(&Entry::totpSecretKey);
    case Key::website:
        return body(&Entry::website);
    case Key::notes:
        return body(&Entry::notes);
    case Key::tags:
        return body(&Entry::tags);
    case Key::sections:
        return body(&Entry::sections);
    case Key::subtitleSource:
        return body(&Entry::subtitleSource);
    case Key::category:
        return body(&Entry::category);
    case Key::isFavorite:
        return body(&Entry::isFavorite);
    case Key::isArchived:
        return body(&Entry::isArchived);
    case Key::isSafeForInspection:
        return body(&Entry::isSafeForInspection);
    case Key::showsEmptyLoginFields:
        return body(&Entry::showsEmptyLoginFields);
    case Key::trashedAt:
        return body(&Entry::trashedAt);
    }
    return body(&Entry::title);
}

bool sameField(Key key, const Entry& lhs, const Entry& rhs)
{
    return withMember(key, [&](auto member) { return lhs.*member == rhs.*member; });
}

void copyField(Key key, const Entry& from, Entry& to)
{
    withMember(key, [&](auto member) { to.*member = from.*member; });
}

template <class T>
struct Boxed {
    const T& value;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(value, "value");
    }
};

// The field's value as JSON: an order between two different values that both sides agree on.
Foundation::Data encodedField(Key key, const Entry& entry)
{
    return withMember(key, [&](auto member) {
        using T = std::remove_cvref_t<decltype(entry.*member)>;
        return Basalwork::JSONCoder::shared()->encode(Boxed<T> {entry.*member});
    });
}

// A merge puts the same earlier value into a history on every device: its identifier follows from what
// it records, so two devices that merge the same change agree on it.
EntryPreviousValue mergedAway(const Foundation::String& entryID, const std::string& place, const Foundation::String& text,
                              Foundation::Date replacedAt)
{
    std::string input = entryID.utf8() + '\0' + place + '\0' + text.utf8() + '\0' + std::to_string(replacedAt.timeIntervalSinceReferenceDate());
    unsigned char hash[16];
    crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(input.data()), input.size(), nullptr, 0);
    std::string hex;
    for (auto byte : hash) {
        hex.push_back(Foundation::upperHexDigits[byte >> 4]);
        hex.push_back(Foundation::upperHexDigits[byte & 0xF]);
    }
    auto id = hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) + "-" + hex.substr(20);
    return {Foundation::String(id), text, replacedAt};
}

// Newest first; equal dates by identifier, so both sides keep one order.
void unite(std::vector<EntryPreviousValue>& history, const std::vector<EntryPreviousValue>& other)
{
    std::set<std::string> known;
    for (const auto& value : history)
        known.insert(value.id.utf8());
    for (const auto& value : other) {
        if (known.insert(value.id.utf8()).second)
            history.push_back(value);
    }
    std::stable_sort(history.begin(), history.end(), [](const EntryPreviousValue& lhs, const EntryPreviousValue& rhs) {
        if (lhs.replacedAt != rhs.replacedAt)
            return lhs.replacedAt > rhs.replacedAt;
        return lhs.id.utf8() < rhs.id.utf8();
    });
    // Both sides may have put the same value away: it shows once, at its latest.
    std::set<std::string> texts;
    std::erase_if(history, [&](const EntryPreviousValue& value) { return !texts.insert(value.text.utf8()).second; });
    if (history.size() > Entry::maximumHistoryCount)
        history.resize(Entry::maximumHistoryCount);
}

void remember(std::vector<EntryPreviousValue>& history, EntryPreviousValue value)
{
    if (value.text.isEmpty())
        return;
    unite(history, {std::move(value)});
}

const EntryField* fieldAt(const std::vector<EntrySection>& sections, std::size_t section, std::size_t index)
{
    if (section >= sections.size() || index >= sections[section].fields.size())
        return nullptr;
    return &sections[section].fields[index];
}

// Fields at the same place with the same category are one field on both sides: their histories unite.
void uniteFieldHistories(std::vector<EntrySection>& sections, const std::vector<EntrySection>& other)
{
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (std::size_t f = 0; f < sections[s].fields.size(); ++f) {
            auto& field = sections[s].fields[f];
            if (const auto* counterpart = fieldAt(other, s, f); counterpart && counterpart->category == field.category)
                unite(field.history, counterpart->history);
        }
    }
}

void uniteServiceIdentifiers(std::vector<EntryServiceIdentifier>& identifiers, const std::vector<EntryServiceIdentifier>& other)
{
    for (const auto& identifier : other) {
        auto known = std::find_if(identifiers.begin(), identifiers.end(),
                                  [&](const EntryServiceIdentifier& candidate) { return candidate.hasSameHost(identifier); });
        if (known == identifiers.end())
            identifiers.push_back(identifier);
        else if (identifier.lastUsedAt && (!known->lastUsedAt || *identifier.lastUsedAt > *known->lastUsedAt))
            known->lastUsedAt = identifier.lastUsedAt;
    }
}

// Both sides' histories, previous values and service identifiers, whichever side won a field.
void uniteAccumulations(Entry& entry, const Entry& other)
{
    unite(entry.passwordHistory, other.passwordHistory);
    unite(entry.totpSecretKeyHistory, other.totpSecretKeyHistory);
    for (const auto& [field, values] : other.mergedAwayValues)
        unite(entry.mergedAwayValues[field], values);
    uniteFieldHistories(entry.sections, other.sections);
    uniteServiceIdentifiers(entry.serviceIdentifiers, other.serviceIdentifiers);
}

// The text a field shows, for keeping it once it lost a merge.
Foundation::String keptText(Key key, const Entry& entry)
{
    switch (key) {
    case Key::title:
        return entry.title;
    case Key::username:
        return entry.username;
    case Key::website:
        return entry.website;
    case Key::notes:
        return entry.notes;
    case Key::tags: {
        std::string joined;
        for (const auto& tag : entry.tags)
            joined += (joined.empty() ? "" : ", ") + tag.utf8();
        return Foundation::String(joined);
    }
    default:
        return {};
    }
}

// The value a field lost in a merge stays in its history, where it has one, else among the item's
// merged-away values.
void rememberLoser(Key key, Entry& winner, const Entry& loser, Foundation::Date replacedAt)
{
    switch (key) {
    case Key::title:
    case Key::username:
    case Key::website:
    case Key::notes:
    case Key::tags: {
        auto text = keptText(key, loser);
        if (!text.isEmpty())
            remember(winner.mergedAwayValues[name(key)], mergedAway(winner.id, name(key), text, replacedAt));
        break;
    }
    case Key::password:
        remember(winner.passwordHistory, mergedAway(winner.id, "password", loser.password, replacedAt));
        break;
    case Key::totpSecretKey:
        remember(winner.totpSecretKeyHistory, mergedAway(winner.id, "totpSecretKey", loser.totpSecretKey, replacedAt));
        break;
    case Key::sections:
        for (std::size_t s = 0; s < winner.sections.size(); ++s) {
            for (std::size_t f = 0; f < winner.sections[s].fields.size(); ++f) {
                auto& field = winner.sections[s].fields[f];
                const auto* lost = fieldAt(loser.sections, s, f);
                if (!lost || lost->category != field.category || lost->text == field.text || field.category == EntryFieldCategory::attachment)
                    continue;
                auto place = "sections." + std::to_string(s) + "." + std::to_string(f);
                remember(field.history, mergedAway(winner.id, place, lost->text, replacedAt));
            }
        }
        // Fields of the losing side with no counterpart here (added there while sections changed here, or
        // holding another attachment) keep their values among the merged-away ones.
        for (std::size_t s = 0; s < loser.sections.size(); ++s) {
            for (std::size_t f = 0; f < loser.sections[s].fields.size(); ++f) {
                const auto& lost = loser.sections[s].fields[f];
                const auto* kept = fieldAt(winner.sections, s, f);
                bool isAttachment = lost.category == EntryFieldCategory::attachment;
                if (lost.text.isEmpty() || (kept && kept->category == lost.category && (kept->text == lost.text || !isAttachment)))
                    continue;
                auto field = isAttachment ? "attachments" : "sections";
                auto place = std::string(field) + "." + std::to_string(s) + "." + std::to_string(f);
                remember(winner.mergedAwayValues[field], mergedAway(winner.id, place, lost.text, replacedAt));
            }
        }
        break;
    default:
        break;
    }
}

} // namespace

std::vector<EntryRevision::Key> EntryRevision::allKeys()
{
    return {Key::title,    Key::username,       Key::password, Key::totpSecretKey, Key::website,    Key::notes,
            Key::tags,     Key::sections,       Key::subtitleSource, Key::category, Key::isFavorite, Key::isArchived,
            Key::isSafeForInspection, Key::showsEmptyLoginFields, Key::trashedAt};
}

const char* name(EntryRevision::Key key)
{
    switch (key) {
    case Key::title:
        return "title";
    case Key::username:
        return "username";
    case Key::password:
        return "password";
    case Key::totpSecretKey:
        return "totpSecretKey";
    case Key::website:
        return "website";
    case Key::notes:
        return "notes";
    case Key::tags:
        return "tags";
    case Key::sections:
        return "sections";
    case Key::subtitleSource:
        return "subtitleSource";
    case Key::category:
        return "category";
    case Key::isFavorite:
        return "isFavorite";
    case Key::isArchived:
        return "isArchived";
    case Key::isSafeForInspection:
        return "isSafeForInspection";
    case Key::showsEmptyLoginFields:
        return "showsEmptyLoginFields";
    case Key::trashedAt:
        return "trashedAt";
    }
    return "";
}

EntryRevision EntryRevision::make(Entry entry)
{
    EntryRevision revision;
    revision.entry = std::move(entry);
    return revision;
}

Foundation::Date EntryRevision::modifiedAt(Key key) const
{
    auto found = fieldModifiedAt.find(name(key));
    return found == fieldModifiedAt.end() ? entry.createdAt : found->second;
}

bool EntryRevision::apply(const Entry& original, const Entry& edited, Foundation::Date now)
{
    bool changed = false;
    for (auto key : allKeys()) {
        if (sameField(key, original, edited))
            continue;
        copyField(key, edited, entry);
        fieldModifiedAt[name(key)] = now;
        changed = true;
    }
    if (original.passwordHistory != edited.passwordHistory || original.totpSecretKeyHistory != edited.totpSecretKeyHistory
        || original.serviceIdentifiers != edited.serviceIdentifiers || original.sections != edited.sections) {
        uniteAccumulations(entry, edited);
        changed = true;
    }
    if (changed)
        entry.modifiedAt = std::max(entry.modifiedAt, now);
    return changed;
}

EntryRevision EntryRevision::merged(const EntryRevision& local, const EntryRevision& remote)
{
    EntryRevision result = local;
    for (auto key : allKeys()) {
        auto localDate = local.modifiedAt(key);
        auto remoteDate = remote.modifiedAt(key);
        if (sameField(key, local.entry, remote.entry)) {
            if (remoteDate > localDate)
                result.fieldModifiedAt[name(key)] = remoteDate;
            continue;
        }
        bool remoteWins = remoteDate > localDate
            || (remoteDate == localDate && encodedField(key, remote.entry).byteVector() > encodedField(key, local.entry).byteVector());
        const auto& winner = remoteWins ? remote : local;
        const auto& loser = remoteWins ? local : remote;
        copyField(key, winner.entry, result.entry);
        result.fieldModifiedAt[name(key)] = winner.modifiedAt(key);
        rememberLoser(key, result.entry, loser.entry, winner.modifiedAt(key));
    }
    uniteAccumulations(result.entry, local.entry);
    uniteAccumulations(result.entry, remote.entry);
    result.entry.createdAt = std::min(local.entry.createdAt, remote.entry.createdAt);
    result.entry.modifiedAt = std::max(local.entry.modifiedAt, remote.entry.modifiedAt);
    return result;
}

Foundation::Data EntryRevision::encoded() const
{
    return Basalwork::JSONCoder::shared()->encode(*this);
}

EntryRevision EntryRevision::decoded(const Foundation::Data& data)
{
    return Basalwork::JSONCoder::shared()->decode<EntryRevision>(data);
}

void EntryRevision::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(entry, "entry");
    container.encode(fieldModifiedAt, "fieldModifiedAt");
}

EntryRevision EntryRevision::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    EntryRevision revision;
    revision.entry = container.decode<Entry>("entry");
    revision.fieldModifiedAt = container.decodeIfPresent<std::map<std::string, Foundation::Date>>("fieldModifiedAt").value_or(std::map<std::string, Foundation::Date> {});
    return revision;
}

} // namespace Shared
