#include "Platform/Foundation/UserDefaults.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONWriter.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.Domain.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace Foundation {
namespace {

// A domain names a file, so it must be a single path component.
bool isValidDomainName(const String& name)
{
    const std::string& text = name.utf8();
    return !name.trimmingCharacters(CharacterSet::whitespacesAndNewlines()).isEmpty()
        && text.find('/') == std::string::npos && text.find('\0') == std::string::npos && text != "." && text != "..";
}

std::string_view trimmingLeadingSpace(std::string_view text)
{
    auto start = text.find_first_not_of(" \t\n\r\f\v");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// The leading integer of the text after any spaces: 0 without digits, saturated when too large.
std::int64_t leadingInteger(std::string_view text)
{
    text = trimmingLeadingSpace(text);
    bool isNegative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        int digit = c - '0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return isNegative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
        value = value * 10 + digit;
    }
    return isNegative ? -value : value;
}

double leadingDouble(std::string_view text)
{
    text = trimmingLeadingSpace(text);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

// Towards zero, saturated at the ends of Int; NaN is 0.
std::int64_t truncatedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

} // namespace

UserDefaults::UserDefaults(std::shared_ptr<Domain> domain)
    : m_domain(std::move(domain))
{
}

const Notification::Name& UserDefaults::didChangeNotification()
{
    // Never destroyed: a write on a background queue may still post while the process exits.
    static const auto* name = new Notification::Name("NSUserDefaultsDidChangeNotification");
    return *name;
}

const std::shared_ptr<UserDefaults>& UserDefaults::standard()
{
    static auto* instance = new std::shared_ptr<UserDefaults>(
        make<UserDefaults>(Domain::named(FileManager::defaultManager()->applicationIdentifier())));
    return *instance;
}

std::shared_ptr<UserDefaults> UserDefaults::withSuiteName(const std::optional<String>& suiteName)
{
    String applicationIdentifier = FileManager::defaultManager()->applicationIdentifier();
    if (!suiteName)
        return make<UserDefaults>(Domain::named(applicationIdentifier));
    const std::string& name = suiteName->utf8();
    if (!isValidDomainName(*suiteName) || name == applicationIdentifier.utf8() || name == "NSGlobalDomain")
        return nullptr;
    return make<UserDefaults>(Domain::named(*suiteName));
}

std::optional<PropertyListValue> UserDefaults::object(const String& key) const
{
    if (auto value = m_domain->value(key))
        return value;
    std::lock_guard lock(m_registrationMutex);
    auto found = m_registration.find(key);
    return found == m_registration.end() ? std::nullopt : std::optional(found->second);
}

std::optional<String> UserDefaults::string(const String& key) const
{
    auto value = object(key);
    if (!value)
        return std::nullopt;
    switch (value->kind()) {
    case PropertyListValue::Kind::string: return value->as<String>();
    case PropertyListValue::Kind::boolean: return String(*value->as<bool>() ? "1" : "0");
    case PropertyListValue::Kind::integer: return String(std::to_string(*value->as<std::int64_t>()));
    case PropertyListValue::Kind::real: return String(JSONWriter::numberText(*value->as<double>()));
    default: return std::nullopt;
    }
}

std::optional<UserDefaults::Array> UserDefaults::array(const String& key) const
{
    auto value = object(key);
    return value ? value->as<Array>() : std::nullopt;
}

std::optional<UserDefaults::Dictionary> UserDefaults::dictionary(const String& key) const
{
    auto value = object(key);
    return value ? value->as<Dictionary>() : std::nullopt;
}

std::optional<std::vector<String>> UserDefaults::stringArray(const String& key) const
{
    auto value = object(key);
    auto elements = value ? value->array() : nullptr;
    if (!elements)
        return std::nullopt;
    std::vector<String> strings;
    strings.reserve(elements->size());
    for (const auto& element : *elements) {
        auto text = element.as<String>();
        if (!text)
            return std::nullopt;
        strings.push_back(std::move(*text));
    }
    return strings;
}

std::optional<Data> UserDefaults::data(const String& key) const
{
    auto value = object(key);
    return value ? value->as<Data>() : std::nullopt;
}

std::int64_t UserDefaults::integer(const String& key) const
{
    auto value = object(key);
    if (!value)
        return 0;
    switch (value->kind()) {
    case PropertyListValue::Kind::boolean:
    case PropertyListValue::Kind::integer: return *value->as<std::int64_t>();
    case PropertyListValue::Kind::real: return truncatedInteger(*value->as<double>());
    case PropertyListValue::Kind::string: return leadingInteger(value->as<String>()->view());
    default: return 0;
    }
}

double UserDefaults::double_(const String& key) const
{
    auto value = object(key);
    if (!value)
        return 0;
    switch (value->kind()) {
    case PropertyListValue::Kind::boolean: return *value->as<bool>() ? 1 : 0;
    case PropertyListValue::Kind::integer: return static_cast<double>(*value->as<std::int64_t>());
    case PropertyListValue::Kind::real: return *value->as<double>();
    case PropertyListValue::Kind::string: return leadingDouble(value->as<String>()->view());
    default: return 0;
    }
}

bool UserDefaults::bool_(const String& key) const
{
    auto value = object(key);
    if (!value)
        return false;
    switch (value->kind()) {
    case PropertyListValue::Kind::boolean: return *value->as<bool>();
    case PropertyListValue::Kind::integer: return *value->as<std::int64_t>() != 0;
    case PropertyListValue::Kind::real: return *value->as<double>() != 0;
    case PropertyListValue::Kind::string: {
        String text = value->as<String>()->lowercased();
        return text == "true" || text == "yes" || leadingInteger(text.view()) != 0;
    }
    default: return false;
    }
}

void UserDefaults::set(const std::optional<PropertyListValue>& value, const String& key)
{
    if (m_domain->change(key, value))
        postDidChange();
}

void UserDefaults::removeObject(const String& key)
{
    set(std::nullopt, key);
}

UserDefaults::Dictionary UserDefaults::dictionaryRepresentation() const
{
    Dictionary result;
    {
        std::lock_guard lock(m_registrationMutex);
        result = m_registration;
    }
    for (auto& [key, value] : m_domain->allValues())
        result.insert_or_assign(key, std::move(value));
    return result;
}

void UserDefaults::removePersistentDomain(const String& name)
{
    if (!isValidDomainName(name))
        return;
    Domain::named(name)->removeAll();
    postDidChange();
}

void UserDefaults::register_(const Dictionary& defaults)
{
    std::lock_guard lock(m_registrationMutex);
    for (const auto& [key, value] : defaults)
        m_registration.insert_or_assign(key, value);
}

void UserDefaults::postDidChange()
{
    NotificationCenter::defaultCenter()->post(didChangeNotification(), sharedSelf(this));
}

} // namespace Foundation
