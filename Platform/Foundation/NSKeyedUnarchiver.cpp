#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"

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

// The payload of a tagged value, {"$data": ...}, when the value is one.
std::optional<JSONView> tagged(const std::optional<JSONView>& value, std::string_view tag)
{
    return value ? value->find(tag) : std::nullopt;
}

} // namespace

std::shared_ptr<NSObject> NSKeyedUnarchiver::unarchivedRootObject(const Data& data)
{
    auto document = JSONDocument::tryParse(data.view());
    if (!document)
        corrupt("The data is not a keyed archive.");
    JSONView archive(*document);
    auto archiver = archive.find("$archiver");
    if (!archiver || archiver->string() != "NSKeyedArchiver")
        corrupt("The data is not a keyed archive.");
    auto top = archive.find("$top");
    auto root = top ? top->find("root") : std::nullopt;
    if (!root)
        corrupt("The archive has no root object.");
    return unarchived(*root, 0);
}

std::shared_ptr<NSObject> NSKeyedUnarchiver::unarchived(const JSONView& value, int depth)
{
    if (value.isNull())
        return nullptr;
    if (!value.isObject())
        corrupt("An object in the archive is not an object.");
    auto className = value.find("$class");
    if (!className || !className->isString())
        corrupt("An object in the archive names no class.");
    if (depth >= maximumDepth)
        corrupt("The archive's objects are nested too deeply.");
    auto factory = codingClassFactory(std::string(*className->string()));
    if (!factory)
        return nullptr;
    return factory(*make<NSKeyedUnarchiver>(value.document(), value.index(), depth + 1));
}

std::optional<JSONView> NSKeyedUnarchiver::value(std::string_view key) const
{
    return JSONView(*m_document, m_object).find(NSKeyedArchiver::archivedKey(key));
}

bool NSKeyedUnarchiver::containsValue(std::string_view key) const
{
    return value(key).has_value();
}

bool NSKeyedUnarchiver::decodeBool(std::string_view key) const
{
    auto found = value(key);
    if (!found)
        return false;
    if (auto boolean = found->boolean())
        return *boolean;
    if (auto number = found->number())
        return *number != 0;
    return false;
}

std::int64_t NSKeyedUnarchiver::decodeInteger(std::string_view key) const
{
    auto found = value(key);
    if (!found || !found->isNumber())
        return 0;
    if (auto integer = found->int64())
        return *integer;
    // A count or size that does not fit would come out wrapped (2^64 - 1 as -1): the archive is damaged.
    double number = *found->number();
    if (found->isInteger() || !(number >= -9223372036854775808.0 && number < 9223372036854775808.0))
        corrupt("An integer in the archive does not fit in 64 bits.");
    return static_cast<std::int64_t>(number);
}

double NSKeyedUnarchiver::decodeDouble(std::string_view key) const
{
    auto found = value(key);
    if (!found)
        return 0;
    if (auto number = found->number())
        return *number;
    if (auto text = tagged(found, "$double"); text && text->isString()) {
        if (text->string() == "nan")
            return std::numeric_limits<double>::quiet_NaN();
        if (text->string() == "inf")
            return std::numeric_limits<double>::infinity();
        if (text->string() == "-inf")
            return -std::numeric_limits<double>::infinity();
    }
    return 0;
}

std::optional<String> NSKeyedUnarchiver::decodeString(std::string_view key) const
{
    auto found = value(key);
    if (found && found->isString())
        return String(*found->string());
    return std::nullopt;
}

std::optional<Data> NSKeyedUnarchiver::decodeData(std::string_view key) const
{
    if (auto text = tagged(value(key), "$data"); text && text->isString()) {
        if (auto data = Data::fromBase64(*text->string()))
            return data;
        corrupt("The archive holds data that is not Base64.");
    }
    return std::nullopt;
}

std::optional<Date> NSKeyedUnarchiver::decodeDate(std::string_view key) const
{
    if (auto seconds = tagged(value(key), "$date"); seconds && seconds->isNumber())
        return Date(*seconds->number());
    return std::nullopt;
}

std::shared_ptr<NSObject> NSKeyedUnarchiver::decodeObject(std::string_view key) const
{
    auto found = value(key);
    if (!found || !found->contains("$class"))
        return nullptr;
    return unarchived(*found, m_depth);
}

} // namespace Foundation
