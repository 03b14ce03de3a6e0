#include "Shared/Stores/RecordStore.Index.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/PublicSuffixList.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/DecodingError.hpp"
#include "Platform/Foundation/Locale.hpp"
#include "Platform/Foundation/URLAuthority.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <set>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace Shared {

namespace {

using SearchableFields = Settings::Items::SearchableFields;
using SortMethod = Settings::Items::SortMethod;

// --- Packing: length-prefixed fields, read back with every length checked. ---------------------------

// Format 1 lacked the attachment flag: such summaries no longer unpack and are made again from their items.
// Format 2 lacks the last use, which such a summary reads as none until its item is saved again.
constexpr std::uint8_t packFormat = 3;
constexpr std::uint8_t packFormatWithoutLastUse = 2;

class Packer {
public:
    void byte(std::uint8_t value) { m_bytes.push_back(value); }
    void number(std::uint64_t value)
    {
        while (value >= 0x80) {
            m_bytes.push_back(static_cast<std::uint8_t>(value | 0x80));
            value >>= 7;
        }
        m_bytes.push_back(static_cast<std::uint8_t>(value));
    }
    void text(const Foundation::String& value)
    {
        number(value.utf8().size());
        m_bytes.insert(m_bytes.end(), value.utf8().begin(), value.utf8().end());
    }
    void texts(const std::vector<Foundation::String>& values)
    {
        number(values.size());
        for (const auto& value : values)
            text(value);
    }
    void date(Foundation::Date value)
    {
        double seconds = value.timeIntervalSinceReferenceDate();
        std::uint64_t bits;
        std::memcpy(&bits, &seconds, sizeof bits);
        for (int i = 0; i < 8; ++i)
            byte(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    Foundation::Data data() && { return Foundation::Data(std::move(m_bytes)); }

private:
    std::vector<std::uint8_t> m_bytes;
};

class Unpacker {
public:
    explicit Unpacker(const Foundation::Data& data)
        : m_data(data)
    {
    }
    std::uint8_t byte()
    {
        need(1);
        return m_data[m_offset++];
    }
    std::uint64_t number()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            auto next = byte();
            value |= static_cast<std::uint64_t>(next & 0x7F) << shift;
            if (!(next & 0x80))
                return value;
        }
        fail();
    }
    Foundation::String text()
    {
        auto count = number();
        need(count);
        auto value = Foundation::String::fromUTF8(std::string_view(reinterpret_cast<const char*>(m_data.bytes()) + m_offset, count));
        if (!value)
            fail();
        m_offset += count;
        return *value;
    }
    std::vector<Foundation::String> texts()
    {
        auto count = number();
        need(count); // every text takes at least its length byte
        std::vector<Foundation::String> values;
        values.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i)
            values.push_back(text());
        return values;
    }
    Foundation::Date date()
    {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<std::uint64_t>(byte()) << (8 * i);
        double seconds;
        std::memcpy(&seconds, &bits, sizeof seconds);
        return Foundation::Date(seconds);
    }
    bool flag()
    {
        auto value = byte();
        if (value > 1)
            fail();
        return value == 1;
    }
    void end()
    {
        if (m_offset != m_data.count())
            fail();
    }

private:
    void need(std::uint64_t count)
    {
        if (count > m_data.count() - m_offset)
            fail();
    }
    [[noreturn]] static void fail()
    {
        throw Foundation::DecodingError::dataCorrupted(Foundation::CodingErrorContext({}, "The item summary is damaged.", nullptr));
    }

    const Foundation::Data& m_data;
    std::size_t m_offset = 0;
};

// --- Text ---------------------------------------------------------------------------------------------

std::string normalized(const std::string& text)
{
    bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return text;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    std::u16string utf16(text.size(), u'\0');
    std::int32_t length = 0;
    u_strFromUTF8(reinterpret_cast<UChar*>(utf16.data()), static_cast<std::int32_t>(utf16.size()), &length, text.data(),
                  static_cast<std::int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return text;
    utf16.resize(static_cast<std::size_t>(length));
    std::u16string composed(utf16.size() * 3 + 1, u'\0');
    length = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(utf16.data()), static_cast<std::int32_t>(utf16.size()),
                              reinterpret_cast<UChar*>(composed.data()), static_cast<std::int32_t>(composed.size()), &status);
    if (U_FAILURE(status))
        return text;
    std::string result(static_cast<std::size_t>(length) * 3, '\0');
    std::int32_t written = 0;
    u_strToUTF8(result.data(), static_cast<std::int32_t>(result.size()), &written, reinterpret_cast<const UChar*>(composed.data()), length, &status);
    if (U_FAILURE(status))
        return text;
    result.resize(static_cast<std::size_t>(written));
    return result;
}

std::string folded(const Foundation::String& text)
{
    return normalized(text.lowercased().utf8());
}

// One collator per thread: opening one costs more than sorting a short list.
class Collator {
public:
    Collator()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open(Foundation::Locale::current().identifier().c_str(), &status);
        if (U_FAILURE(status)) {
            m_collator = nullptr;
            return;
        }
        ucol_setStrength(m_collator, UCOL_SECONDARY);
        ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    }
    ~Collator()
    {
        if (m_collator)
            ucol_close(m_collator);
    }
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    std::string sortKey(const Foundation::String& text) const
    {
        if (!m_collator)
            return folded(text);
        UErrorCode status = U_ZERO_ERROR;
        std::u16string utf16(text.utf8().size(), u'\0');
        std::int32_t length = 0;
        u_strFromUTF8(reinterpret_cast<UChar*>(utf16.data()), static_cast<std::int32_t>(utf16.size()), &length, text.utf8().data(),
                      static_cast<std::int32_t>(text.utf8().size()), &status);
        if (U_FAILURE(status))
            return folded(text);
        std::string key(static_cast<std::size_t>(length) * 4 + 16, '\0');
        auto needed = ucol_getSortKey(m_collator, reinterpret_cast<const UChar*>(utf16.data()), length,
                                      reinterpret_cast<std::uint8_t*>(key.data()), static_cast<std::int32_t>(key.size()));
        if (needed > static_cast<std::int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(needed));
            needed = ucol_getSortKey(m_collator, reinterpret_cast<const UChar*>(utf16.data()), length,
                                     reinterpret_cast<std::uint8_t*>(key.data()), static_cast<std::int32_t>(key.size()));
        }
        // Without the closing NUL, and in a string of its own size: every item keeps one for as long as
        // the vault is open.
        return std::string(key.data(), needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
    }

private:
    UCollator* m_collator = nullptr;
};

const Collator& collator()
{
    thread_local Collator instance;
    return instance;
}

std::vector<std::string> words(const Foundation::String& text)
{
    std::vector<std::string> result;
    for (const auto& word : text.components(Foundation::CharacterSet::whitespacesAndNewlines())) {
        if (!word.isEmpty())
            result.push_back(folded(word));
    }
    return result;
}

// The first eight bytes, big-endian, zeros after a shorter text: they order as the texts' starts do.
std::uint64_t prefixOf(std::string_view text)
{
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return prefix;
}

// A date as a number that orders as the dates do (both zeros alike).
std::uint64_t orderOf(Foundation::Date date)
{
    double seconds = date.timeIntervalSinceReferenceDate();
    if (seconds == 0)
        seconds = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &seconds, sizeof bits);
    return bits >> 63 ? ~bits : bits | std::uint64_t {1} << 63;
}

bool isASCII(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

RecordStore::Index::Index(Settings::Items::SearchableFields searchableFields)
    : m_searchableFields(searchableFields)
{
    changed();
}

void RecordStore::Index::changed()
{
    static std::atomic<std::uint64_t> versions = 0;
    m_version = ++versions;
}

Foundation::Data RecordStore::Index::packed(const EntryIndex& index)
{
    Packer packer;
    packer.byte(packFormat);
    packer.text(index.entryID);
    packer.text(Foundation::RawRepresentation<EntryCategory>::cases[static_cast<std::size_t>(index.category)].second);
    packer.text(index.title);
    packer.text(index.subtitle);
    packer.text(index.username);
    packer.texts(index.websites);
    packer.texts(index.tags);
    packer.text(index.notes);
    packer.byte(index.isFavorite);
    packer.byte(index.isArchived);
    packer.byte(index.isTrashed);
    packer.byte(index.isSafeForInspection);
    packer.byte(index.hasAttachments);
    packer.date(index.createdAt);
    packer.date(index.modifiedAt);
    packer.byte(index.lastUsedAt.has_value());
    if (index.lastUsedAt)
        packer.date(*index.lastUsedAt);
    return std::move(packer).data();
}

EntryIndex RecordStore::Index::unpacked(const Foundation::Data& data)
{
    Unpacker unpacker(data);
    auto format = unpacker.byte();
    if (format != packFormat && format != packFormatWithoutLastUse)
        throw Foundation::DecodingError::dataCorrupted(Foundation::CodingErrorContext({}, "The item summary has an unknown format.", nullptr));
    EntryIndex index;
    index.entryID = unpacker.text();
    // The packer writes a category's raw value as it is: its bytes tell it, without a text per case.
    auto category = unpacker.text();
    index.category = EntryCategory::other;
    for (const auto& [value, raw] : Foundation::RawRepresentation<EntryCategory>::cases) {
        if (category.view() == std::string_view(raw))
            index.category = value;
    }
    index.title = unpacker.text();
    index.subtitle = unpacker.text();
    index.username = unpacker.text();
    index.websites = unpacker.texts();
    index.tags = unpacker.texts();
    index.notes = unpacker.text();
    index.isFavorite = unpacker.flag();
    index.isArchived = unpacker.flag();
    index.isTrashed = unpacker.flag();
    index.isSafeForInspection = unpacker.flag();
    index.hasAttachments = unpacker.flag();
    index.createdAt = unpacker.date();
    index.modifiedAt = unpacker.date();
    if (format == packFormat && unpacker.flag())
        index.lastUsedAt = unpacker.date();
    unpacker.end();
    return index;
}

std::string RecordStore::Index::host(const Foundation::String& text)
{
    std::string value;
    if (const auto& bytes = text.utf8(); isASCII(bytes)) {
        // Every unlock does this for every website: ASCII is trimmed and lowercased in place.
        auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
        std::size_t start = 0;
        std::size_t end = bytes.size();
        while (start < end && isSpace(bytes[start]))
            ++start;
        while (end > start && isSpace(bytes[end - 1]))
            --end;
        value.assign(bytes, start, end - start);
        for (auto& c : value) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
        }
    } else {
        value = text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).lowercased().utf8();
    }
    std::string_view authority = value;
    if (auto scheme = authority.find("://"); scheme != std::string_view::npos)
        authority.remove_prefix(scheme + 3);
    if (auto end = authority.find_first_of("/?#"); end != std::string_view::npos)
        authority = authority.substr(0, end);
    // An authority that reads as two hosts ("a@b@evil.com"), or as another once decoded, names no site.
    auto parsed = Foundation::URLAuthority::parse(authority);
    auto decoded = parsed ? parsed->decodedHost() : std::nullopt;
    if (!decoded)
        return {};
    if (decoded->size() != parsed->host.size())
        *decoded = Foundation::String(*decoded).lowercased().utf8();
    value = std::move(*decoded);
    while (!value.empty() && value.back() == '.')
        value.pop_back();
    if (value.starts_with("www."))
        value.erase(0, 4);
    return value;
}

std::size_t RecordStore::Index::hashOf(std::string_view id)
{
    return std::hash<std::string_view> {}(id);
}

std::size_t RecordStore::Index::slotOf(std::string_view id, std::size_t hash) const
{
    const auto mask = m_slots.size() - 1;
    for (auto slot = hash & mask;; slot = (slot + 1) & mask) {
        auto position = m_slots[slot];
        if (position == 0)
            return slot;
        const auto& item = m_items[position - 1];
        if (item.idHash == hash && item.index().entryID.view() == id)
            return slot;
    }
}

void RecordStore::Index::reserveSlots(std::size_t count)
{
    if (count * 2 < m_slots.size())
        return;
    std::size_t size = 16;
    while (size <= count * 2)
        size *= 2;
    m_slots.assign(size, 0);
    for (std::size_t position = 0; position < m_items.size(); ++position)
        m_slots[slotOf(m_items[position].index().entryID.view(), m_items[position].idHash)] = static_cast<std::uint32_t>(position + 1);
}

void RecordStore::Index::removeSlot(std::size_t slot)
{
    // Linear probing: the slots after it that would no longer be reached move back into the gap.
    const auto mask = m_slots.size() - 1;
    auto gap = slot;
    for (auto next = (gap + 1) & mask; m_slots[next] != 0; next = (next + 1) & mask) {
        auto home = m_items[m_slots[next] - 1].idHash & mask;
        bool reachedPastGap = gap <= next ? (home <= gap || home > next) : (home <= gap && home > next);
        if (reachedPastGap) {
            m_slots[gap] = m_slots[next];
            gap = next;
        }
    }
    m_slots[gap] = 0;
}

const EntryIndex* RecordStore::Index::find(const Foundation::String& id) const
{
    if (m_slots.empty())
        return nullptr;
    auto position = m_slots[slotOf(id.view(), hashOf(id.view()))];
    return position == 0 ? nullptr : &m_items[position - 1].index();
}

RecordStore::Index::Item RecordStore::Index::prepare(EntryIndex index) const
{
    Item item;
    item.idHash = hashOf(index.entryID.view());
    auto sortKey = collator().sortKey(index.title);
    auto idPrefix = prefixOf(index.entryID.utf8());
    item.summary = std::make_shared<const Summary>(Summary {std::move(index), std::move(sortKey), idPrefix});
    return item;
}

void RecordStore::Index::reserve(std::size_t count)
{
    m_items.reserve(count);
    reserveSlots(count);
}

void RecordStore::Index::insert(Item item)
{
    changed();
    if (m_searchDataIsPrepared)
        prepareSearchData(item);
    reserveSlots(m_items.size() + 1);
    auto slot = slotOf(item.index().entryID.view(), item.idHash);
    if (auto position = m_slots[slot]; position != 0) {
        m_items[position - 1] = std::move(item);
        return;
    }
    m_slots[slot] = static_cast<std::uint32_t>(m_items.size() + 1);
    m_items.push_back(std::move(item));
}

void RecordStore::Index::remove(const Foundation::String& id)
{
    if (m_slots.empty())
        return;
    auto slot = slotOf(id.view(), hashOf(id.view()));
    auto position = m_slots[slot];
    if (position == 0)
        return;
    changed();
    removeSlot(slot);
    if (position != m_items.size()) {
        // The last item fills the gap, and its slot follows it.
        auto& last = m_items.back();
        m_slots[slotOf(last.index().entryID.view(), last.idHash)] = position;
        m_items[position - 1] = std::move(last);
    }
    m_items.pop_back();
}

void RecordStore::Index::setSearchableFields(Settings::Items::SearchableFields searchableFields)
{
    m_searchableFields = searchableFields;
    if (m_searchDataIsPrepared) {
        m_searchDataIsPrepared = false;
        prepareSearchData();
    }
}

void RecordStore::Index::prepareSearchData() const
{
    if (m_searchDataIsPrepared)
        return;
    concurrentPerform(m_items.size(), [&](std::size_t i) { prepareSearchData(m_items[i]); });
    m_searchDataIsPrepared = true;
}

void RecordStore::Index::prepareSearchData(const Item& item) const
{
    const auto& index = item.index();
    auto search = std::make_unique<SearchData>();
    for (const auto& website : index.websites) {
        if (auto name = host(website); !name.empty())
            search->hosts.push_back(std::move(name));
    }
    std::string text = folded(index.title);
    auto add = [&](const Foundation::String& field) {
        if (field.isEmpty())
            return;
        // A newline never occurs inside a search word, so no match spans two fields.
        text += '\n';
        text += folded(field);
    };
    for (const auto& tag : index.tags)
        add(tag);
    if (m_searchableFields != SearchableFields::titleTags)
        add(index.subtitle);
    if (m_searchableFields == SearchableFields::titleSubtitleUsernameTags || m_searchableFields == SearchableFields::titleSubtitleUsernameWebsitesTags
        || m_searchableFields == SearchableFields::titleSubtitleUsernameTagsNotes)
        add(index.username);
    if (m_searchableFields == SearchableFields::titleSubtitleUsernameWebsitesTags || m_searchableFields == SearchableFields::titleSubtitleUsernameTagsNotes) {
        for (const auto& website : index.websites)
            add(website);
    }
    if (m_searchableFields == SearchableFields::titleSubtitleUsernameTagsNotes)
        add(index.notes);
    search->isASCII = isASCII(text);
    search->text = std::move(text);
    item.search = std::move(search);
}

bool RecordStore::Index::matchesWords(const Item& item, const std::vector<std::string>& words) const
{
    for (const auto& word : words) {
        if (item.search->text.find(word) == std::string::npos)
            return false;
        // Bytes match inside a character too ("e" in "e" with an accent): outside ASCII the text's own
        // comparison, which matches whole characters, decides.
        if (!item.search->isASCII && !Foundation::String(item.search->text).contains(Foundation::String(word)))
            return false;
    }
    return true;
}

namespace {

bool isIPAddress(std::string_view host)
{
    return host.starts_with('[') || host.find_first_not_of("0123456789.") == std::string_view::npos;
}

// `descendant` is a sub-domain of `ancestor` and both belong to whoever registered `ancestor`: a public
// suffix ("github.io", "co.uk") is an ancestor of sites of many owners, and of none of them.
bool isSameSiteAncestor(std::string_view ancestor, std::string_view descendant)
{
    return descendant.size() > ancestor.size() && descendant.ends_with(ancestor) && descendant[descendant.size() - ancestor.size() - 1] == '.'
        && ancestor.find('.') != std::string_view::npos && !isIPAddress(descendant) && !PublicSuffixList::isPublicSuffix(ancestor);
}

} // namespace

bool RecordStore::Index::matchesDomain(const Item& item, const std::string& domain) const
{
    if (domain.empty())
        return false;
    bool isBareName = domain.find('.') == std::string::npos;
    for (const auto& host : item.search->hosts) {
        if (host == domain)
            return true;
        if (isSameSiteAncestor(domain, host) || isSameSiteAncestor(host, domain))
            return true;
        // An app or issuer named without a domain ("example") matches a label of the host.
        if (isBareName) {
            std::size_t start = 0;
            while (start <= host.size()) {
                auto end = host.find('.', start);
                if (end == std::string::npos)
                    end = host.size();
                if (host.compare(start, end - start, domain) == 0)
                    return true;
                start = end + 1;
            }
        }
    }
    return false;
}

std::vector<std::shared_ptr<const RecordStore::Index::Summary>> RecordStore::Index::select(const Entry::Filter& filter,
                                                                                          const std::optional<Foundation::String>& searchText,
                                                                                          const std::optional<Foundation::String>& associatedDomain,
                                                                                          bool safeForInspectionOnly) const
{
    std::vector<std::string> searchWords = searchText ? words(*searchText) : std::vector<std::string> {};
    std::string domain = associatedDomain ? host(*associatedDomain) : std::string();
    if (!searchWords.empty() || associatedDomain)
        prepareSearchData();
    std::vector<std::shared_ptr<const Summary>> matches;
    for (const auto& item : m_items) {
        if (safeForInspectionOnly && !item.index().isSafeForInspection)
            continue;
        if (!filter.matches(item.index()))
            continue;
        if (!searchWords.empty() && !matchesWords(item, searchWords))
            continue;
        if (associatedDomain && !matchesDomain(item, domain))
            continue;
        matches.push_back(item.summary);
    }
    return matches;
}

namespace {

// A summary in a sort: the part of its key being compared, where the summary is, and its place in the
// summaries handed in.
struct Keyed {
    std::uint64_t key;
    const RecordStore::Index::Summary* summary;
    std::uint32_t position;
};

bool byKey(const Keyed& lhs, const Keyed& rhs)
{
    return lhs.key < rhs.key;
}

// Identifiers are unique in a list: their order is total.
void sortByID(std::vector<Keyed>::iterator begin, std::vector<Keyed>::iterator end)
{
    std::sort(begin, end, [](const Keyed& lhs, const Keyed& rhs) {
        if (lhs.summary->idPrefix != rhs.summary->idPrefix)
            return lhs.summary->idPrefix < rhs.summary->idPrefix;
        return lhs.summary->index.entryID.utf8() < rhs.summary->index.entryID.utf8();
    });
}

// Calls `body` with each run of more than one equal key.
template <class Body>
void forEachTie(std::vector<Keyed>::iterator begin, std::vector<Keyed>::iterator end, Body&& body)
{
    while (begin != end) {
        auto run = std::find_if(begin + 1, end, [&](const Keyed& other) { return other.key != begin->key; });
        if (run - begin > 1)
            body(begin, run);
        begin = run;
    }
}

// Sorts summaries whose sort keys agree on their first `offset` bytes by the next eight, then each run
// that ties on those by the eight after, and so on: each pass compares numbers in one flat array and
// reads each tied key once, however many comparisons the sort makes. Keys hold no zero byte, so a key
// that ends sorts before the keys it starts.
void sortByTitle(std::vector<Keyed>::iterator begin, std::vector<Keyed>::iterator end, std::size_t offset)
{
    bool longer = false;
    for (auto it = begin; it != end; ++it) {
        const auto& key = it->summary->sortKey;
        it->key = offset < key.size() ? prefixOf(std::string_view(key).substr(offset)) : 0;
        longer = longer || key.size() > offset + 8;
    }
    std::sort(begin, end, byKey);
    forEachTie(begin, end, [&](auto first, auto last) {
        if (longer && std::any_of(first, last, [&](const Keyed& tied) { return tied.summary->sortKey.size() > offset + 8; }))
            sortByTitle(first, last, offset + 8);
        else
            sortByID(first, last);
    });
}

} // namespace

std::vector<std::shared_ptr<const EntryIndex>> RecordStore::Index::sorted(std::vector<std::shared_ptr<const Summary>> summaries,
                                                                           Settings::Items::SortMethod sortMethod)
{
    // Sorted as flat keys: comparing a hundred thousand summaries where they lie in memory costs more
    // than the sort itself.
    std::vector<Keyed> keyed(summaries.size());
    for (std::size_t i = 0; i < summaries.size(); ++i)
        keyed[i] = {0, summaries[i].get(), static_cast<std::uint32_t>(i)};
    auto byDate = [&](Foundation::Date EntryIndex::*date, bool descending) {
        for (auto& entry : keyed) {
            auto order = orderOf(entry.summary->index.*date);
            entry.key = descending ? ~order : order;
        }
        std::sort(keyed.begin(), keyed.end(), byKey);
        // Equal dates in identifier order, also when the dates descend.
        forEachTie(keyed.begin(), keyed.end(), sortByID);
    };
    switch (sortMethod) {
    case SortMethod::alphabetical: sortByTitle(keyed.begin(), keyed.end(), 0); break;
    // The ascending order of titles and identifiers, reversed.
    case SortMethod::alphabeticalDesc:
        sortByTitle(keyed.begin(), keyed.end(), 0);
        std::reverse(keyed.begin(), keyed.end());
        break;
    case SortMethod::modifiedAtDesc: byDate(&EntryIndex::modifiedAt, true); break;
    case SortMethod::modifiedAt: byDate(&EntryIndex::modifiedAt, false); break;
    case SortMethod::createdAtDesc: byDate(&EntryIndex::createdAt, true); break;
    // Unsorted keeps the order items were made in, which is stable across unlocks.
    case SortMethod::createdAt:
    case SortMethod::unsorted: byDate(&EntryIndex::createdAt, false); break;
    }
    // The summaries themselves, sharing their owner's count.
    std::vector<std::shared_ptr<const EntryIndex>> result;
    result.reserve(summaries.size());
    for (const auto& entry : keyed) {
        auto& summary = summaries[entry.position];
        const auto* index = &summary->index;
        result.emplace_back(std::move(summary), index);
    }
    return result;
}

std::int64_t RecordStore::Index::count(const Entry::Filter& filter, bool safeForInspectionOnly) const
{
    return std::count_if(m_items.begin(), m_items.end(), [&](const auto& item) {
        return (!safeForInspectionOnly || item.index().isSafeForInspection) && filter.matches(item.index());
    });
}

bool RecordStore::Index::hasEntries(const Entry::Filter& filter, bool safeForInspectionOnly) const
{
    return std::any_of(m_items.begin(), m_items.end(), [&](const auto& item) {
        return (!safeForInspectionOnly || item.index().isSafeForInspection) && filter.matches(item.index());
    });
}

bool RecordStore::Index::hasEntries(const Foundation::String& associatedDomain, bool safeForInspectionOnly) const
{
    auto domain = host(associatedDomain);
    auto filter = Entry::Filter::allItems();
    prepareSearchData();
    return std::any_of(m_items.begin(), m_items.end(), [&](const auto& item) {
        return (!safeForInspectionOnly || item.index().isSafeForInspection) && filter.matches(item.index()) && matchesDomain(item, domain);
    });
}

std::vector<Foundation::String> RecordStore::Index::tagsInUse(bool safeForInspectionOnly) const
{
    std::vector<Foundation::String> tags;
    std::set<std::string> seen;
    for (const auto& item : m_items) {
        if (item.index().isTrashed || (safeForInspectionOnly && !item.index().isSafeForInspection))
            continue;
        for (const auto& tag : item.index().tags) {
            if (seen.insert(tag.utf8()).second)
                tags.push_back(tag);
        }
    }
    return tags;
}

std::vector<Foundation::String> RecordStore::Index::ids() const
{
    std::vector<Foundation::String> result;
    result.reserve(m_items.size());
    for (const auto& item : m_items)
        result.push_back(item.index().entryID);
    return result;
}

} // namespace Shared
