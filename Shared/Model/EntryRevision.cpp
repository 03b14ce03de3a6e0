#include "Shared/Model/EntryRevision.hpp"

#include <optional>

#include "Shared/Model/EntryProperty.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Hex.hpp"

#include <algorithm>
#include <set>
#include <sodium.h>

namespace Shared {

namespace {

// Calls `body.template operator()<index>()` for each property that carries its own date of change.
template <class Body>
void forEachDatedProperty(Body&& body)
{
    forEachEntryProperty([&]<std::size_t index>() {
        if constexpr (entryProperty<index>.merge == EntryPropertyMerge::byDate)
            body.template operator()<index>();
    });
}

template <class A, class B>
constexpr bool isMember(A member, B other)
{
    if constexpr (std::is_same_v<A, B>)
        return member == other;
    else
        return false;
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
template <std::size_t index>
Foundation::Data encodedField(const Entry& entry)
{
    const auto& value = entry.*entryProperty<index>.member;
    return Basalwork::JSONCoder::shared()->encode(Boxed<std::remove_cvref_t<decltype(value)>> {value});
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
Foundation::String keptText(const Foundation::String& text)
{
    return text;
}

Foundation::String keptText(const std::vector<Foundation::String>& texts)
{
    std::string joined;
    for (const auto& text : texts)
        joined += (joined.empty() ? "" : ", ") + text.utf8();
    return Foundation::String(joined);
}

void rememberLostSections(Entry& winner, const Entry& loser, Foundation::Date replacedAt)
{
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
}

// The value a field lost in a merge stays in its history, where it has one, else among the item's
// merged-away values when it is a text or list of texts; flags, categories and dates just give way.
template <std::size_t index>
void rememberLoser(Entry& winner, const Entry& loser, Foundation::Date replacedAt)
{
    constexpr const auto& property = entryProperty<index>;
    const auto& lost = loser.*property.member;
    using Value = std::remove_cvref_t<decltype(lost)>;
    if constexpr (isMember(property.member, &Entry::password)) {
        remember(winner.passwordHistory, mergedAway(winner.id, property.key, lost, replacedAt));
    } else if constexpr (isMember(property.member, &Entry::totpSecretKey)) {
        remember(winner.totpSecretKeyHistory, mergedAway(winner.id, property.key, lost, replacedAt));
    } else if constexpr (isMember(property.member, &Entry::sections)) {
        rememberLostSections(winner, loser, replacedAt);
    } else if constexpr (std::is_same_v<Value, Foundation::String> || std::is_same_v<Value, std::vector<Foundation::String>>) {
        auto text = keptText(lost);
        if (!text.isEmpty())
            remember(winner.mergedAwayValues[property.key], mergedAway(winner.id, property.key, text, replacedAt));
    }
}

} // namespace

EntryRevision EntryRevision::make(Entry entry)
{
    EntryRevision revision;
    revision.entry = std::move(entry);
    return revision;
}

Foundation::Date EntryRevision::modifiedAt(std::string_view key) const
{
    auto found = fieldModifiedAt.find(std::string(key));
    return found == fieldModifiedAt.end() ? entry.createdAt : found->second;
}

bool EntryRevision::apply(const Entry& original, const Entry& edited, Foundation::Date now)
{
    bool changed = false;
    bool accumulated = original.sections != edited.sections;
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        if (original.*property.member == edited.*property.member)
            return;
        if constexpr (property.merge == EntryPropertyMerge::byDate) {
            entry.*property.member = edited.*property.member;
            fieldReplacedAt[property.key] = modifiedAt(property.key);
            fieldModifiedAt[property.key] = now;
            changed = true;
        } else if constexpr (property.merge == EntryPropertyMerge::united) {
            accumulated = true;
        }
    });
    if (accumulated) {
        uniteAccumulations(entry, edited);
        changed = true;
    }
    if (changed)
        entry.modifiedAt = std::max(entry.modifiedAt, now);
    return changed;
}

bool EntryRevision::supersedes(const EntryRevision& earlier) const
{
    bool supersedes = true;
    forEachDatedProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        if (!supersedes || entry.*property.member == earlier.entry.*property.member)
            return;
        // Copies from before these dates were kept cannot tell: merged, so that nothing is lost.
        auto replaced = fieldReplacedAt.find(property.key);
        supersedes = modifiedAt(property.key) > earlier.modifiedAt(property.key) && replaced != fieldReplacedAt.end()
            && replaced->second >= earlier.modifiedAt(property.key);
    });
    return supersedes;
}

EntryRevision EntryRevision::merged(const EntryRevision& local, const EntryRevision& remote)
{
    EntryRevision result = local;
    forEachDatedProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        auto localDate = local.modifiedAt(property.key);
        auto remoteDate = remote.modifiedAt(property.key);
        auto replaced = [&](const EntryRevision& revision) {
            auto found = revision.fieldReplacedAt.find(property.key);
            return found == revision.fieldReplacedAt.end() ? std::optional<Foundation::Date>() : std::optional(found->second);
        };
        auto latest = [](std::optional<Foundation::Date> lhs, std::optional<Foundation::Date> rhs) {
            return lhs && rhs ? std::optional(std::max(*lhs, *rhs)) : lhs ? lhs : rhs;
        };
        if (local.entry.*property.member == remote.entry.*property.member) {
            if (remoteDate > localDate)
                result.fieldModifiedAt[property.key] = remoteDate;
            if (auto seen = latest(replaced(local), replaced(remote)))
                result.fieldReplacedAt[property.key] = *seen;
            return;
        }
        bool remoteWins = remoteDate > localDate
            || (remoteDate == localDate && encodedField<index>(remote.entry).byteVector() > encodedField<index>(local.entry).byteVector());
        const auto& winner = remoteWins ? remote : local;
        const auto& loser = remoteWins ? local : remote;
        result.entry.*property.member = winner.entry.*property.member;
        result.fieldModifiedAt[property.key] = winner.modifiedAt(property.key);
        // The merged value has seen the losing one: a copy holding that takes it as it is.
        result.fieldReplacedAt[property.key] = *latest(replaced(winner), loser.modifiedAt(property.key));
        rememberLoser<index>(result.entry, loser.entry, winner.modifiedAt(property.key));
    });
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
    if (!fieldReplacedAt.empty())
        container.encode(fieldReplacedAt, "fieldReplacedAt");
}

EntryRevision EntryRevision::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    EntryRevision revision;
    revision.entry = container.decode<Entry>("entry");
    revision.fieldModifiedAt = container.decodeIfPresent<std::map<std::string, Foundation::Date>>("fieldModifiedAt").value_or(std::map<std::string, Foundation::Date> {});
    revision.fieldReplacedAt = container.decodeIfPresent<std::map<std::string, Foundation::Date>>("fieldReplacedAt").value_or(std::map<std::string, Foundation::Date> {});
    return revision;
}

} // namespace Shared
