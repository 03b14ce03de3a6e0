#include "Shared/Model/Entry.hpp"

#include "Shared/Model/EntryError.hpp"
#include "Shared/Model/EntryProperty.hpp"
#include "Shared/Model/TOTP.hpp"

#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <algorithm>

namespace Shared {

namespace {

void remember(std::vector<EntryPreviousValue>& history, const Foundation::String& replaced, Foundation::Date now)
{
    if (replaced.isEmpty())
        return;
    history.insert(history.begin(), EntryPreviousValue::make(replaced, now));
    if (history.size() > Entry::maximumHistoryCount)
        history.resize(Entry::maximumHistoryCount);
}

void renewIdentifiers(std::vector<EntryPreviousValue>& history)
{
    for (auto& value : history)
        value.id = Foundation::UUID().uuidString();
}

template <class T>
constexpr bool isOptional = false;
template <class T>
constexpr bool isOptional<std::optional<T>> = true;

} // namespace

Entry Entry::make(Category category, Foundation::Date now)
{
    Entry entry;
    entry.id = Foundation::UUID().uuidString();
    entry.category = category;
    entry.createdAt = now;
    entry.modifiedAt = now;
    switch (category) {
    case Category::wirelessNetwork:
        entry.sections.push_back(Section::make(Section::Template::wirelessNetwork));
        break;
    case Category::server:
        entry.sections.push_back(Section::make(Section::Template::server));
        break;
    case Category::creditCard:
        entry.sections.push_back(Section::make(Section::Template::paymentCard));
        break;
    case Category::bankAccount:
        entry.sections.push_back(Section::make(Section::Template::bankAccount));
        break;
    case Category::softwareLicense:
        entry.sections.push_back(Section::make(Section::Template::softwareLicense));
        break;
    case Category::identity:
        entry.sections.push_back(Section::make(Section::Template::address));
        entry.sections.push_back(Section::make(Section::Template::contactInfo));
        break;
    case Category::passport:
    case Category::driversLicense:
        entry.sections.push_back(Section::make(Section::Template::identityDocument));
        break;
    case Category::login:
    case Category::password:
    case Category::secureNote:
    case Category::rewardsProgram:
    case Category::other:
        break;
    }
    return entry;
}

Entry Entry::duplicated(Foundation::Date now) const
{
    Entry copy = *this;
    copy.id = Foundation::UUID().uuidString();
    copy.createdAt = now;
    copy.modifiedAt = now;
    copy.isFavorite = false;
    copy.isArchived = false;
    copy.trashedAt.reset();
    renewIdentifiers(copy.passwordHistory);
    renewIdentifiers(copy.totpSecretKeyHistory);
    for (auto& [field, values] : copy.mergedAwayValues)
        renewIdentifiers(values);
    for (auto& section : copy.sections) {
        for (auto& field : section.fields)
            renewIdentifiers(field.history);
    }
    return copy;
}

Foundation::String Entry::subtitle() const
{
    if (subtitleSource) {
        if (const auto* system = subtitleSource->as<SubtitleSource::SystemField>())
            return text(system->id);
        if (const auto* custom = subtitleSource->as<SubtitleSource::CustomField>()) {
            try {
                const auto& chosen = field(custom->id);
                if (!isSecret(chosen.category) && chosen.category != Field::Category::attachment)
                    return chosen.text;
            } catch (const EntryError&) {
                // The chosen field has gone: fall back to the natural subtitle.
            }
        }
    }
    if (isLoginCategory(category) || !username.isEmpty())
        return username;
    for (const auto& section : sections) {
        for (const auto& candidate : section.fields) {
            if (!candidate.text.isEmpty() && !isSecret(candidate.category) && candidate.category != Field::Category::attachment)
                return candidate.text;
        }
    }
    return {};
}

Foundation::String Entry::text(SystemField::ID id) const
{
    switch (id) {
    case SystemField::ID::title:
        return title;
    case SystemField::ID::subtitle:
        return subtitle();
    case SystemField::ID::username:
        return username;
    case SystemField::ID::password:
        return password;
    case SystemField::ID::totpSecretKey:
        return totpSecretKey;
    case SystemField::ID::website:
        return website;
    case SystemField::ID::notes:
        return notes;
    case SystemField::ID::serviceIdentifiers: {
        Foundation::String joined;
        for (const auto& identifier : serviceIdentifiers)
            joined += (joined.isEmpty() ? "" : ", ") + identifier.host;
        return joined;
    }
    case SystemField::ID::category:
        return titleText(category);
    case SystemField::ID::tags: {
        Foundation::String joined;
        for (const auto& tag : tags)
            joined += (joined.isEmpty() ? "" : ", ") + tag;
        return joined;
    }
    case SystemField::ID::safeForInspection:
        return isSafeForInspection ? "Yes" : "No";
    }
    return {};
}

std::vector<Foundation::String> Entry::parsedTags(const Foundation::String& text)
{
    std::vector<Foundation::String> parsed;
    for (const auto& part : text.components(","))
        if (auto tag = part.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
            !tag.isEmpty() && std::find(parsed.begin(), parsed.end(), tag) == parsed.end())
            parsed.push_back(tag);
    return parsed;
}

void Entry::setText(const Foundation::String& text, SystemField::ID id, Foundation::Date now)
{
    switch (id) {
    case SystemField::ID::title:
        title = text;
        break;
    case SystemField::ID::username:
        username = text;
        break;
    case SystemField::ID::password:
        if (text == password)
            return;
        remember(passwordHistory, password, now);
        password = text;
        break;
    case SystemField::ID::totpSecretKey:
        if (text == totpSecretKey)
            return;
        remember(totpSecretKeyHistory, totpSecretKey, now);
        totpSecretKey = text;
        break;
    case SystemField::ID::website:
        website = text;
        break;
    case SystemField::ID::notes:
        notes = text;
        break;
    case SystemField::ID::tags:
        tags = parsedTags(text);
        break;
    case SystemField::ID::subtitle:
    case SystemField::ID::serviceIdentifiers:
    case SystemField::ID::category:
    case SystemField::ID::safeForInspection:
        return;
    }
    modifiedAt = now;
}

std::optional<TOTP> Entry::currentTOTP() const
{
    if (totpSecretKey.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        return std::nullopt;
    TOTP totp(totpSecretKey);
    if (totp.secretKeyState() != TOTP::SecretKeyState::valid)
        return std::nullopt;
    return totp;
}

std::optional<Foundation::String> Entry::currentOneTimePassword(Foundation::Date date) const
{
    if (auto totp = currentTOTP())
        return totp->generate(date);
    return std::nullopt;
}

namespace {

bool isBlank(const Foundation::String& text)
{
    return text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty();
}

// The text of the first field of that category that is not blank.
std::optional<Foundation::String> firstFieldText(const std::vector<EntrySection>& sections, EntryFieldCategory category)
{
    for (const auto& section : sections) {
        for (const auto& field : section.fields) {
            if (field.category == category && !isBlank(field.text))
                return field.text;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Foundation::String> Entry::copyableUsername() const
{
    if (isBlank(username))
        return std::nullopt;
    return username;
}

std::optional<Foundation::String> Entry::firstCopyablePassword() const
{
    if (!isBlank(password))
        return password;
    return firstFieldText(sections, EntryFieldCategory::password);
}

std::optional<TOTP> Entry::firstCopyableTOTP() const
{
    if (auto totp = currentTOTP())
        return totp;
    for (const auto& section : sections) {
        for (const auto& field : section.fields) {
            if (field.category != EntryFieldCategory::oneTimePassword || isBlank(field.text))
                continue;
            TOTP totp(field.text);
            if (totp.secretKeyState() == TOTP::SecretKeyState::valid)
                return totp;
        }
    }
    return std::nullopt;
}

std::optional<Foundation::String> Entry::firstCopyableOneTimePassword(Foundation::Date date) const
{
    if (auto totp = firstCopyableTOTP())
        return totp->generate(date);
    return std::nullopt;
}

std::optional<Foundation::URL> Entry::websiteURL() const
{
    return Basalwork::websiteURL(website);
}

const Entry::PreviousValue* Entry::previousPassword(const Foundation::String& id) const
{
    auto found = std::find_if(passwordHistory.begin(), passwordHistory.end(), [&](const auto& value) { return value.id == id; });
    return found == passwordHistory.end() ? nullptr : &*found;
}

const Entry::PreviousValue* Entry::previousTOTPSecretKey(const Foundation::String& id) const
{
    auto found = std::find_if(totpSecretKeyHistory.begin(), totpSecretKeyHistory.end(), [&](const auto& value) { return value.id == id; });
    return found == totpSecretKeyHistory.end() ? nullptr : &*found;
}

const std::vector<Entry::Field>& Entry::fields(std::int64_t section) const
{
    if (section < 0 || section >= static_cast<std::int64_t>(sections.size()))
        throw EntryError::sectionNotFound(section);
    return sections[static_cast<std::size_t>(section)].fields;
}

const Entry::Field& Entry::field(Field::ID id) const
{
    const auto& list = fields(id.section);
    if (id.index < 0 || id.index >= static_cast<std::int64_t>(list.size()))
        throw EntryError::fieldNotFound(id.section, id.index);
    return list[static_cast<std::size_t>(id.index)];
}

Entry::Field& Entry::mutableField(Field::ID id)
{
    return const_cast<Field&>(static_cast<const Entry*>(this)->field(id));
}

std::int64_t Entry::fieldCount() const
{
    std::int64_t count = 0;
    for (const auto& section : sections)
        count += static_cast<std::int64_t>(section.fields.size());
    return count;
}

std::optional<Foundation::String> Entry::attachmentID(Field::ID id) const
{
    if (id.section < 0 || id.section >= static_cast<std::int64_t>(sections.size()))
        return std::nullopt;
    const auto& list = sections[static_cast<std::size_t>(id.section)].fields;
    if (id.index < 0 || id.index >= static_cast<std::int64_t>(list.size()))
        return std::nullopt;
    const auto& held = list[static_cast<std::size_t>(id.index)];
    if (held.category != Field::Category::attachment || held.text.isEmpty())
        return std::nullopt;
    return held.text;
}

std::vector<Foundation::String> Entry::attachmentIDs() const
{
    std::vector<Foundation::String> ids;
    for (const auto& section : sections) {
        for (const auto& held : section.fields) {
            if (held.category == Field::Category::attachment && !held.text.isEmpty())
                ids.push_back(held.text);
        }
    }
    return ids;
}

std::int64_t Entry::insertSection(std::int64_t index, Section::Template sectionTemplate)
{
    if (index < 0 || index > static_cast<std::int64_t>(sections.size()))
        throw EntryError::sectionNotFound(index);
    if (static_cast<std::int64_t>(sections.size()) >= maximumSectionCount)
        throw EntryError::sectionLimitReached(maximumSectionCount);
    auto section = Section::make(sectionTemplate);
    if (fieldCount() + static_cast<std::int64_t>(section.fields.size()) > maximumFieldCount)
        throw EntryError::fieldLimitReached(maximumFieldCount);
    sections.insert(sections.begin() + index, std::move(section));
    return index;
}

Entry::Field::ID Entry::insertField(Field::ID id, Field::Category category)
{
    const auto& list = fields(id.section);
    if (id.index < 0 || id.index > static_cast<std::int64_t>(list.size()))
        throw EntryError::fieldNotFound(id.section, id.index);
    if (fieldCount() >= maximumFieldCount)
        throw EntryError::fieldLimitReached(maximumFieldCount);
    Field field;
    field.category = category;
    auto& target = sections[static_cast<std::size_t>(id.section)].fields;
    target.insert(target.begin() + id.index, std::move(field));
    return id;
}

Entry::Field::ID Entry::appendField(std::int64_t section, Field::Category category)
{
    return insertField({section, static_cast<std::int64_t>(fields(section).size())}, category);
}

void Entry::setFieldText(Field::ID id, const Foundation::String& text, Foundation::Date now)
{
    auto& target = mutableField(id);
    if (target.text == text)
        return;
    if (target.category != Field::Category::attachment)
        remember(target.history, target.text, now);
    target.text = text;
    modifiedAt = now;
}

void Entry::setFieldTitle(Field::ID id, std::optional<Foundation::String> title)
{
    mutableField(id).title = std::move(title);
}

void Entry::setSectionTitle(std::int64_t section, std::optional<Foundation::String> title)
{
    fields(section);
    sections[static_cast<std::size_t>(section)].title = std::move(title);
}

void Entry::changeFieldCategory(Field::ID id, Field::Category category)
{
    mutableField(id).category = category;
}

void Entry::deleteSection(std::int64_t index)
{
    fields(index);
    sections.erase(sections.begin() + index);
    if (subtitleSource) {
        if (const auto* custom = subtitleSource->as<SubtitleSource::CustomField>(); custom && custom->id.section == index)
            subtitleSource.reset();
    }
}

void Entry::deleteField(Field::ID id)
{
    field(id);
    auto& list = sections[static_cast<std::size_t>(id.section)].fields;
    list.erase(list.begin() + id.index);
    if (subtitleSource) {
        if (const auto* custom = subtitleSource->as<SubtitleSource::CustomField>(); custom && custom->id == id)
            subtitleSource.reset();
    }
}

void Entry::moveField(Field::ID from, Field::ID to)
{
    auto moved = field(from);
    const auto& destination = fields(to.section);
    auto limit = static_cast<std::int64_t>(destination.size()) - (from.section == to.section ? 1 : 0);
    if (to.index < 0 || to.index > limit)
        throw EntryError::fieldNotFound(to.section, to.index);
    auto& source = sections[static_cast<std::size_t>(from.section)].fields;
    source.erase(source.begin() + from.index);
    auto& target = sections[static_cast<std::size_t>(to.section)].fields;
    target.insert(target.begin() + to.index, std::move(moved));
}

void Entry::moveSection(std::int64_t from, std::int64_t to)
{
    fields(from);
    if (to < 0 || to >= static_cast<std::int64_t>(sections.size()))
        throw EntryError::sectionNotFound(to);
    auto moved = std::move(sections[static_cast<std::size_t>(from)]);
    sections.erase(sections.begin() + from);
    sections.insert(sections.begin() + to, std::move(moved));
}

void Entry::stampServiceIdentifiers(const std::vector<ServiceIdentifier>& identifiers)
{
    for (const auto& identifier : identifiers) {
        auto known = std::find_if(serviceIdentifiers.begin(), serviceIdentifiers.end(),
                                  [&](const ServiceIdentifier& candidate) { return candidate.hasSameHost(identifier); });
        if (known == serviceIdentifiers.end())
            serviceIdentifiers.push_back(identifier);
        else
            known->lastUsedAt = identifier.lastUsedAt;
    }
}

void Entry::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        const auto& value = this->*property.member;
        if constexpr (property.presence != EntryPropertyPresence::whenSet)
            container.encode(value, property.key);
        else if constexpr (isOptional<std::remove_cvref_t<decltype(value)>>)
            container.encodeIfPresent(value, property.key);
        else if (!value.empty())
            container.encode(value, property.key);
    });
}

Entry Entry::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    Entry entry;
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        auto& value = entry.*property.member;
        using Value = std::remove_cvref_t<decltype(value)>;
        if constexpr (property.presence == EntryPropertyPresence::required)
            value = container.decode<Value>(property.key);
        else if constexpr (isOptional<Value>)
            value = container.decodeIfPresent<typename Value::value_type>(property.key);
        else if (auto decoded = container.decodeIfPresent<Value>(property.key))
            value = std::move(*decoded);
    });
    return entry;
}

} // namespace Shared
