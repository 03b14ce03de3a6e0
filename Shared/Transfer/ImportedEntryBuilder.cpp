#include "Shared/Transfer/ImportedEntryBuilder.hpp"

#include "Shared/Crypto/Sodium.hpp"
#include "Shared/Model/EntryProperty.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Basalwork/Base/StoreKeyError.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <sodium.h>

namespace Shared {

namespace {

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool containsAny(const std::string& text, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return text.find(word) != std::string::npos; });
}

std::string_view trimmedView(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

} // namespace

ImportedEntryBuilder::ImportedEntryBuilder(ImporterFileFormat format, Entry::Category category, Foundation::Date now)
    : m_format(format)
{
    m_entry.category = category;
    m_entry.createdAt = now;
    m_entry.modifiedAt = now;
}

Foundation::String ImportedEntryBuilder::checked(std::string_view value)
{
    if (value.size() > maximumValueByteCount)
        throw ImporterError::invalidFile("a value is longer than " + std::to_string(maximumValueByteCount / 1024) + " KB");
    return Foundation::String(value);
}

void ImportedEntryBuilder::setSourceIdentifier(std::string_view sourceID)
{
    if (!trimmedView(sourceID).empty())
        m_sourceID = checked(sourceID);
}

void ImportedEntryBuilder::setTitle(std::string_view value)
{
    m_entry.title = checked(value);
}

void ImportedEntryBuilder::setUsername(std::string_view value)
{
    m_entry.username = checked(value);
}

void ImportedEntryBuilder::setPassword(std::string_view value)
{
    m_entry.password = checked(value);
}

void ImportedEntryBuilder::setWebsite(std::string_view value)
{
    m_entry.website = checked(value);
}

void ImportedEntryBuilder::setNotes(std::string_view value)
{
    m_entry.notes = checked(value);
}

void ImportedEntryBuilder::appendNotes(std::string_view value)
{
    if (value.empty())
        return;
    if (m_entry.notes.isEmpty())
        return setNotes(value);
    m_entry.notes = checked(m_entry.notes.utf8() + "\n\n" + std::string(value));
}

void ImportedEntryBuilder::setTOTP(std::string_view value)
{
    m_entry.totpSecretKey = checked(trimmedView(value));
}

void ImportedEntryBuilder::addTag(std::string_view value)
{
    auto tag = checked(trimmedView(value));
    if (tag.isEmpty() || std::find(m_entry.tags.begin(), m_entry.tags.end(), tag) != m_entry.tags.end())
        return;
    m_entry.tags.push_back(std::move(tag));
}

void ImportedEntryBuilder::addTags(std::string_view value, std::string_view separators)
{
    std::size_t start = 0;
    while (start <= value.size()) {
        auto end = value.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = value.size();
        addTag(value.substr(start, end - start));
        start = end + 1;
    }
}

void ImportedEntryBuilder::setCreatedAt(std::optional<Foundation::Date> date)
{
    if (!date)
        return;
    m_entry.createdAt = *date;
    m_hasCreatedAt = true;
    if (!m_hasModifiedAt)
        m_entry.modifiedAt = *date;
}

void ImportedEntryBuilder::setModifiedAt(std::optional<Foundation::Date> date)
{
    if (!date)
        return;
    m_entry.modifiedAt = *date;
    m_hasModifiedAt = true;
    if (!m_hasCreatedAt)
        m_entry.createdAt = *date;
}

void ImportedEntryBuilder::addPreviousPassword(std::string_view value, std::optional<Foundation::Date> replacedAt)
{
    if (value.empty() || m_entry.passwordHistory.size() >= Entry::maximumHistoryCount)
        return;
    m_entry.passwordHistory.push_back(EntryPreviousValue::make(checked(value), replacedAt.value_or(m_entry.modifiedAt)));
}

void ImportedEntryBuilder::addField(std::string_view title, std::string_view value, std::optional<EntryFieldCategory> category)
{
    if (trimmedView(value).empty())
        return;
    EntryField field;
    auto trimmedTitle = trimmedView(title);
    if (!trimmedTitle.empty())
        field.title = checked(trimmedTitle);
    field.text = checked(value);
    field.category = category.value_or(guessedCategory(title, value));
    m_customSection.fields.push_back(std::move(field));
}

void ImportedEntryBuilder::addAttachmentField(std::string_view title, const Foundation::String& attachmentID)
{
    EntryField field;
    field.title = checked(title);
    field.text = attachmentID;
    field.category = EntryFieldCategory::attachment;
    m_customSection.fields.push_back(std::move(field));
}

bool ImportedEntryBuilder::hasLoginValues() const
{
    return !m_entry.username.isEmpty() || !m_entry.password.isEmpty() || !m_entry.website.isEmpty() || !m_entry.totpSecretKey.isEmpty();
}

Entry ImportedEntryBuilder::build(std::string_view contentKey)
{
    if (!m_customSection.fields.empty()) {
        if (static_cast<std::int64_t>(m_customSection.fields.size()) > Entry::maximumFieldCount)
            throw ImporterError::invalidFile("the item has more than " + std::to_string(Entry::maximumFieldCount) + " fields");
        m_entry.sections.push_back(std::move(m_customSection));
        m_customSection = {};
    }
    m_entry.id = stableIdentifier(m_format, m_sourceID ? m_sourceID->view() : contentKey);
    return std::move(m_entry);
}

void ImportedEntryBuilder::enforceLimits(Entry& entry)
{
    auto fits = [](const Foundation::String& value) { checked(value.view()); };
    auto trimHistory = [&](std::vector<EntryPreviousValue>& history) {
        if (history.size() > Entry::maximumHistoryCount)
            history.resize(Entry::maximumHistoryCount);
        for (const auto& value : history)
            fits(value.text);
    };
    try {
        Basalwork::StoreKeyError::validateKey(entry.id);
    } catch (const Foundation::Error&) {
        throw ImporterError::invalidFile("the item's identifier is empty or names a path");
    }
    if (entry.id.view().size() > maximumIdentifierByteCount)
        throw ImporterError::invalidFile("the item's identifier is longer than " + std::to_string(maximumIdentifierByteCount) + " bytes");
    auto limitSections = [&](std::vector<EntrySection>& sections) {
        if (static_cast<std::int64_t>(sections.size()) > Entry::maximumSectionCount)
            throw ImporterError::invalidFile("the item has more than " + std::to_string(Entry::maximumSectionCount) + " sections");
        std::int64_t fieldCount = 0;
        for (auto& section : sections) {
            fieldCount += static_cast<std::int64_t>(section.fields.size());
            if (fieldCount > Entry::maximumFieldCount)
                throw ImporterError::invalidFile("the item has more than " + std::to_string(Entry::maximumFieldCount) + " fields");
            if (section.title)
                fits(*section.title);
            for (auto& field : section.fields) {
                if (field.title)
                    fits(*field.title);
                fits(field.text);
                trimHistory(field.history);
            }
        }
    };
    // Every value the item's coding reads, so that a value added to the item is held to the limits too.
    forEachEntryProperty([&]<std::size_t index>() {
        auto& value = entry.*entryProperty<index>.member;
        using Value = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, Foundation::String>) {
            fits(value);
        } else if constexpr (std::is_same_v<Value, std::vector<Foundation::String>>) {
            for (const auto& text : value)
                fits(text);
        } else if constexpr (std::is_same_v<Value, std::vector<EntryServiceIdentifier>>) {
            for (const auto& identifier : value)
                fits(identifier.host);
        } else if constexpr (std::is_same_v<Value, std::vector<EntrySection>>) {
            limitSections(value);
        } else if constexpr (std::is_same_v<Value, std::vector<EntryPreviousValue>>) {
            trimHistory(value);
        } else if constexpr (std::is_same_v<Value, std::map<std::string, std::vector<EntryPreviousValue>>>) {
            for (auto& [field, history] : value)
                trimHistory(history);
        } else {
            static_assert(std::is_same_v<Value, bool> || std::is_same_v<Value, EntryCategory> || std::is_same_v<Value, Foundation::Date>
                              || std::is_same_v<Value, std::optional<Foundation::Date>> || std::is_same_v<Value, std::optional<EntrySubtitleSource>>,
                          "a value of a new kind needs its limits here");
        }
    });
}

Foundation::String ImportedEntryBuilder::stableIdentifier(ImporterFileFormat format, std::string_view key)
{
    ensureSodium();
    // The format's position keys the hash, so formats never share an identifier.
    std::array<unsigned char, crypto_generichash_KEYBYTES_MIN> formatKey {};
    formatKey[0] = static_cast<unsigned char>(format);
    std::array<unsigned char, 16> hash {};
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(key.data()), key.size(), formatKey.data(), formatKey.size());
    // Shaped as a name-based UUID (version 5, RFC 4122 variant).
    hash[6] = static_cast<unsigned char>((hash[6] & 0x0f) | 0x50);
    hash[8] = static_cast<unsigned char>((hash[8] & 0x3f) | 0x80);
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < hash.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(digits[hash[i] >> 4]);
        text.push_back(digits[hash[i] & 0x0f]);
    }
    return Foundation::String(std::move(text));
}

EntryFieldCategory ImportedEntryBuilder::guessedCategory(std::string_view title, std::string_view value)
{
    auto name = lowered(title);
    if (containsAny(name, {"password", "passwort", "pwd", "passphrase", "secret", "cvv", "cvc", "security code", "puk"}))
        return EntryFieldCategory::password;
    if (containsAny(name, {"pin"}))
        return EntryFieldCategory::pin;
    if (containsAny(name, {"otp", "totp", "one-time", "2fa", "twofa"}))
        return EntryFieldCategory::oneTimePassword;
    if (containsAny(name, {"card number", "cardnumber", "cc_number", "card_number"}))
        return EntryFieldCategory::creditCardNumber;
    if (containsAny(name, {"mail"}))
        return EntryFieldCategory::email;
    if (containsAny(name, {"phone", "mobile", "telephone", "fax"}))
        return EntryFieldCategory::phone;
    if (containsAny(name, {"url", "website", "web site", "link"}))
        return EntryFieldCategory::url;
    if (containsAny(name, {"address", "street"}))
        return EntryFieldCategory::address;
    if (value.find('\n') != std::string_view::npos)
        return EntryFieldCategory::multilineText;
    return EntryFieldCategory::text;
}

} // namespace Shared
