#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace Foundation {
namespace {

// Deeper than any object graph of ours; a crafted archive must not exhaust the stack.
constexpr int maximumDepth = 256;

[[noreturn]] void corrupt(const std::string& why)
{
    throw NSError(NSCocoaErrorDomain, 4864,
                  {{NSLocalizedDescriptionKey, "The data couldn\u2019t be read because it isn\u2019t in the correct format."},
                   {NSDebugDescriptionErrorKey, why}});
}

} // namespace

std::shared_ptr<NSObject> NSKeyedUnarchiver::unarchivedRootObject(const Data& data)
{
    // The parser would take a NUL for the end of the text and ignore what follows.
    if (data.view().find('\0') != std::string_view::npos)
        corrupt("The data is not a keyed archive.");
    auto archive = nlohmann::ordered_json::parse(data.view(), nullptr, false);
    if (archive.is_discarded() || !archive.is_object())
        corrupt("The data is not a keyed archive.");
    auto archiver = archive.find("$archiver");
    if (archiver == archive.end() || *archiver != "NSKeyedArchiver")
        corrupt("The data is not a keyed archive.");
    auto top = archive.find("$top");
    if (top == archive.end() || !top->is_object() || !top->contains("root"))
        corrupt("The archive has no root object.");
    return unarchived(top->at("root"), 0);
}

std::shared_ptr<NSObject> NSKeyedUnarchiver::unarchived(const nlohmann::ordered_json& value, int depth)
{
    if (value.is_null())
        return nullptr;
    if (!value.is_object())
        corrupt("An object in the archive is not an object.");
    auto className = value.find("$class");
    if (className == value.end() || !className->is_string())
        corrupt("An object in the archive names no class.");
    if (depth >= maximumDepth)
        corrupt("The archive's objects are nested too deeply.");
    auto factory = codingClassFactory(className->get<std::string>());
    if (!factory)
        return nullptr;
    return factory(*make<NSKeyedUnarchiver>(value, depth + 1));
}

const nlohmann::ordered_json* NSKeyedUnarchiver::value(std::string_view key) const
{
    auto found = m_object->find(NSKeyedArchiver::archivedKey(key));
    return found == m_object->end() ? nullptr : &*found;
}

bool NSKeyedUnarchiver::containsValue(std::string_view key) const
{
    return value(key) != nullptr;
}

bool NSKeyedUnarchiver::decodeBool(std::string_view key) const
{
    const auto* found = value(key);
    if (found && found->is_boolean())
        return found->get<bool>();
    if (found && found->is_number())
        return found->get<double>() != 0;
    return false;
}

std::int64_t NSKeyedUnarchiver::decodeInteger(std::string_view key) const
{
    const auto* found = value(key);
    if (!found || !found->is_number())
        return 0;
    // A count or size that does not fit would come out wrapped (2^64 - 1 as -1): the archive is damaged.
    if (found->is_number_unsigned()) {
        auto number = found->get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            corrupt("An integer in the archive does not fit in 64 bits.");
        return static_cast<std::int64_t>(number);
    }
    if (found->is_number_integer())
        return found->get<std::int64_t>();
    double number = found->get<double>();
    if (!(number >= -9223372036854775808.0 && number < 9223372036854775808.0))
        corrupt("An integer in the archive does not fit in 64 bits.");
    return static_cast<std::int64_t>(number);
}

double NSKeyedUnarchiver::decodeDouble(std::string_view key) const
{
    const auto* found = value(key);
    if (!found)
        return 0;
    if (found->is_number())
        return found->get<double>();
    if (found->is_object() && found->contains("$double") && (*found)["$double"].is_string()) {
        const auto& text = (*found)["$double"].get_ref<const std::string&>();
        if (text == "nan")
            return std::numeric_limits<double>::quiet_NaN();
        if (text == "inf" || text == "-inf")
            return text == "inf" ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
    }
    return 0;
}

std::optional<String> NSKeyedUnarchiver::decodeString(std::string_view key) const
{
    const auto* found = value(key);
    if (found && found->is_string())
        return String(found->get<std::string>());
    return std::nullopt;
}

std::optional<Data> NSKeyedUnarchiver::decodeData(std::string_view key) const
{
    const auto* found = value(key);
    if (found && found->is_object() && found->contains("$data") && (*found)["$data"].is_string()) {
        if (auto data = Data::fromBase64((*found)["$data"].get_ref<const std::string&>()))
            return data;
        corrupt("The archive holds data that is not Base64.");
    }
    return std::nullopt;
}

std::optional<Date> NSKeyedUnarchiver::decodeDate(std::string_view key) const
{
    const auto* found = value(key);
    if (found && found->is_object() && found->contains("$date") && (*found)["$date"].is_number())
        return Date((*found)["$date"].get<double>());
    return std::nullopt;
}

std::shared_ptr<NSObject> NSKeyedUnarchiver::decodeObject(std::string_view key) const
{
    const auto* found = value(key);
    if (!found || !found->is_object() || !found->contains("$class"))
        return nullptr;
    return unarchived(*found, m_depth);
}

} // namespace Foundation
